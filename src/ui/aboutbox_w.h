#pragma once

#include <QDialog>
#include <QString>
#include <array>

class DesktopServices;
class QLabel;
class QPushButton;
class QTimer;
class Words;

// The addresses the About box links to. An empty one leaves its label out.
struct AboutLinks
{
    QString mail;        // lbl4: shown as it is, opened as a new mail
    QString homePage;    // lbl5: shown as it is
    QString download;    // lbl7
    QString updateNotes; // lbl8
};

// Plimsa has no web pages and no support mailbox of its own (yet), so the
// About box links to nothing but its own Back.
AboutLinks projectLinks();

// The About box: on top of every window, the product name written letter by
// letter, the version, and the link labels. Any key closes it.
class AboutBox : public QDialog
{
    Q_OBJECT
public:
    AboutBox(const Words &words, const QString &programVersion, DesktopServices &desktop,
             const AboutLinks &links, QWidget *parent);

    // One more letter of the name every 105 ms, until it is whole.
    void showNextLetter();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Link
    {
        QLabel *label = nullptr;
        QString target; // "" leaves the label out
    };
    void buildLinks(const Words &words, const AboutLinks &links);
    void layOut();
    // A link opens its address and closes the box; Back closes it.
    void clicked(const QLabel *label);

    DesktopServices &desktop_;
    QLabel *icon_ = nullptr;
    QLabel *name_ = nullptr;
    QLabel *maker_ = nullptr;
    QLabel *versionCaption_ = nullptr;
    QLabel *version_ = nullptr;
    QLabel *ownRisk_ = nullptr;
    std::array<Link, 4> links_{}; // mail, home page, download, update notes
    QLabel *back_ = nullptr;
    QPushButton *keyCatcher_ = nullptr;
    QTimer *letters_ = nullptr;
    int lettersShown_ = 0;
};
