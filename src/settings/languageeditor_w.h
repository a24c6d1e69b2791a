#pragma once

#include <QDialog>
#include <array>

struct MainContext;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// frmEditLanguage: names, frees and translates the nine user languages and
// writes them to Language.dat. Translations go into the word table as soon as
// the field is left; OK writes the file, and the program shows them after its
// next start.
class LanguageEditor : public QDialog
{
    Q_OBJECT
public:
    LanguageEditor(MainContext &ctx, QWidget *mainWindow);

    static void run(MainContext &ctx, QWidget *mainWindow);

    // OK: the values taken over and stored, and the dialog closed.
    void ok();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void fillLists();
    void languageChosen();
    // Enter in the combo box's edit line: names the chosen slot, or the first free one.
    void nameSlot();
    void wordChosen();
    void confirmTranslation();
    void keepTranslation();
    int firstFreeSlot() const;
    // Whether the chosen slot may be translated: a user language that is not free.
    bool translatable() const;
    void updateField();

    MainContext &ctx_;
    int editSlot_ = -1; // the language slot being translated
    int editWord_ = 0;  // the word number whose translation is in translation_
    QComboBox *languages_ = nullptr;
    QListWidget *words_ = nullptr;
    QLineEdit *translation_ = nullptr;
    std::array<QLabel *, 2> notes_{};
    QPushButton *okButton_ = nullptr;
};
