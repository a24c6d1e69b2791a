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
    QString mail;        // lbl(4): shown as it is, opened as a new mail
    QString homePage;    // lbl(5): shown as it is
    QString download;    // lbl(7)
    QString updateNotes; // lbl(8)
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
    void animateIcon();
    // 4, 5, 7, 8 open their address and close the box; 6 closes it.
    void labelClicked(int index);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void placeLabels();
    QString target(int index) const;

    DesktopServices &desktop_;
    AboutLinks links_;
    std::array<QLabel *, 9> lbl{};
    QLabel *lblVersion = nullptr;
    QLabel *lblIcon = nullptr;
    QPushButton *cmdClose = nullptr;
    QTimer *Timer1 = nullptr;
    int letters_ = 0;
};
