#pragma once

#include "transfer/notebookimport.h"

#include <QDialog>
#include <QObject>
#include <optional>

struct MainContext;
struct MainState;
class EntryList;
class GroupList;
class NotebookView;
class QMenu;
class QAction;

// A question with a list to read (files and their characters, files in the
// way) and a row of answers; exec(), then answer() is the button chosen.
// `safeAnswer`, the one that changes nothing, is the default button.
class TransferQuestion : public QDialog
{
    Q_OBJECT
public:
    TransferQuestion(const QString &objectName, const QString &title, const QString &text,
                     const QString &list, const QStringList &answers, int safeAnswer,
                     QWidget *parent);
    // The index in `answers` of the button pressed; nothing when closed otherwise.
    std::optional<int> answer() const { return answer_; }

private:
    std::optional<int> answer_;
};

// The File menu's import and export: a folder asked for, the plan made and
// shown where it needs a choice, the work done behind a progress dialog that
// appears after half a second and can be cancelled, and one report.
class TransferCommands : public QObject
{
    Q_OBJECT
public:
    TransferCommands(NotebookView &view, QObject *parent);

    void importFolder(bool intoSelectedGroup);
    void exportNotebook(bool selectedGroupOnly);

    QAction *importFolderItem = nullptr;
    QAction *importIntoGroupItem = nullptr;
    QAction *exportNotebookItem = nullptr;
    QAction *exportGroupItem = nullptr;

private:
    // A folder that exists (the dialog can make a new one).
    std::optional<QString> chooseFolder(const QString &title);
    void reloadLists(const QString &storedGroup);

    NotebookView &view_;
    bool busy_ = false;
};

// Adds the commands to the File menu, before the item `before`, and wires them;
// built as a child of `window`.
void installTransfer(NotebookView &view, QMenu *fileMenu, QAction *before, QObject *window);
