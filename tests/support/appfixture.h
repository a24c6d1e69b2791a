#pragma once

#include "support/testsupport.h"

#include "app/application_w.h"
#include "app/mainwindow_w.h"
#include "ui/titlelistmodel.h"
#include "ui/titlelistview_w.h"

#include <QCheckBox>
#include <QMap>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTemporaryDir>
#include <optional>

// The real program on a fresh copy of the shipped program folder (PLIMSA_DATA).
// Message boxes are recorded, the end of the program is recorded instead of
// done, and the test answers the modal dialogs. Files are read and written as
// the program stores them: Windows-1252 lines ended by CR LF.
class AppFixture
{
public:
    AppFixture(); // fills the folder: its files may be changed before start()

    QString path(const QString &relative) const { return dir_.path() + u'/' + relative; }
    QByteArray read(const QString &relative) const { return readFile(path(relative)); }
    QStringList readLines(const QString &relative) const;
    void write(const QString &relative, const QStringList &lines);
    // pref.dat line `line` (1-based) becomes `value`.
    void setPref(int line, const QString &value);
    // The preset store by shown names: each list is a group, then its titles.
    // Every group gets an empty mask, every title the file "date of <title>",
    // "text of <title>" unless the title starts with "gone".
    void writeNotebook(const QList<QStringList> &groups);
    QMap<QString, QByteArray> snapshot() const;

    // Main and the start-up work; false when the program ended instead.
    bool start();
    // The notebook `line` started on with `selected` clicked, both in the
    // one-line forms of notebookline.h.
    bool open(const QString &line, const QString &selected);
    // The program ended (as by a crash: nothing more is written) and started
    // again on the same folder; the messages of the first run are forgotten.
    bool restart();
    Application &app() { return *app_; }
    MainWindow *window() const { return app_->mainWindow(); }
    const MainWidgets &w() const { return window()->widgets(); }
    // The main window's controls, found by their object names.
    template <typename T = QWidget> T *control(const QString &name) const
    {
        return window()->findChild<T *>(name);
    }
    TitleListView *entryList() const { return control<TitleListView>(QStringLiteral("lstEntry")); }
    TitleListView *groupList() const { return control<TitleListView>(QStringLiteral("lstGroup")); }
    QPlainTextEdit *entryText() const { return control<QPlainTextEdit>(QStringLiteral("txtText")); }
    QPlainTextEdit *maskText() const { return control<QPlainTextEdit>(QStringLiteral("txtMask")); }
    QCheckBox *lockBox() const { return control<QCheckBox>(QStringLiteral("chckEdit")); }
    MainState &state() const { return window()->mainState(); }

    static QStringList lines(const TitleListView *list) { return list->titles().shownNames(); }
    static QString current(const TitleListView *list) { return list->currentText(); }
    // The mouse on the line of `list` that shows `line`.
    static void click(TitleListView *list, const QString &line,
                      Qt::MouseButton button = Qt::LeftButton);

    // The entry's text box: its text, keys typed into it, and its OK key.
    QString text() const;
    void type(const QString &keys = QStringLiteral(" typed"));
    void pressOk();
    // While it lives the watcher of outside changes reports nothing, so that a
    // command meets another program's write before the watcher reports it.
    QSignalBlocker quietWatcher() const;

    // Runs `act` on the next modal dialog or pop-up menu once it shows; may
    // be armed before start(), for a dialog of the start-up work.
    void whenShown(const std::function<void(QWidget *)> &act);
    // frmInput by Enter, with `answer` in place of the proposal unless it is null.
    void answerInput(const QString &answer = {});

    RecordingMessages messages;
    RecordingDesktop desktop;
    std::optional<int> exitStatus;
    // The start settings right after the first paint instead of 100 ms later,
    // for tests that start the program thousands of times.
    bool quickStart = false;

private:
    QTemporaryDir dir_;
    std::unique_ptr<Application> app_;
    QObject waiting_; // the polls of whenShown; they go before the program
};
