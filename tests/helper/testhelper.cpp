// Second process for the tests: holds the store marker, or writes in a loop.
int main()
{
    return 0;
}
