#pragma once

#include <QObject>

struct MainState;
class EditModes;
class KeyHandlers;
class Messages;
class QKeyEvent;
class QPlainTextEdit;
class Words;

// entryTextKeyPressed, maskKeyPressed and the key press check of the text boxes:
// the keys that confirm, save and cancel an edit, the lock's refusal of typed
// characters, and the refusal of characters the files cannot store. Also the
// double-click on a box.
class TextKeys : public QObject
{
    Q_OBJECT
public:
    // The entry text box and the mask box.
    struct Boxes
    {
        QPlainTextEdit *text = nullptr;
        QPlainTextEdit *mask = nullptr;
    };
    TextKeys(const Boxes &boxes, MainState &main, EditModes &editModes, Messages &messages,
             const Words &words, KeyHandlers &keys, QObject *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void bindKeys(KeyHandlers &keys);
    // entryTextCharacterTyped: true when the key was consumed.
    bool keyPress(const QKeyEvent &key);
    bool refuseText(const QString &text);
    void showLocked();

    QPlainTextEdit *text_;
    QPlainTextEdit *mask_;
    MainState &main_;
    EditModes &editModes_;
    Messages &messages_;
    const Words &words_;
};
