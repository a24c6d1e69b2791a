#pragma once

#include <QObject>

class ListKeys;
class QListWidget;

// Hands the key presses of a list to lstEntry_KeyDown; a key it takes goes no
// further, every other key does what the list itself does with it.
class ListKeyRouter : public QObject
{
    Q_OBJECT
public:
    ListKeyRouter(QListWidget *list, const ListKeys &keys, QObject *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QListWidget *list_;
    const ListKeys &keys_;
};
