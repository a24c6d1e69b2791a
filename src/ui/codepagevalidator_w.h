#pragma once

class Messages;
class QLineEdit;
class Words;

// Refuses any edit that would put a character into `field` that the files'
// code page cannot hold (typed, pasted or dropped), and names the character in
// a message (title word 79) once the field has undone the edit.
void refuseUnstorableCharacters(QLineEdit *field, Messages &messages, const Words &words);
