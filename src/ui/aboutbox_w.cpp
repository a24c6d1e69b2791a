#include "ui/aboutbox_w.h"

#include "i18n/wordnumbers.h"
#include "i18n/wordtable.h"
#include "platform/desktopservices.h"
#include "ui/dialogplacement_w.h"
#include "ui/programicon_w.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

const QString kName = u"Plimsa"_s;
constexpr int kLinkRow = 300; // twips from one link line to the next

bool isLink(int index)
{
    return index == 4 || index == 5 || index == 7 || index == 8;
}

} // namespace

AboutLinks projectLinks()
{
    return {};
}

AboutBox::AboutBox(const Words &words, const QString &programVersion, DesktopServices &desktop,
                   const AboutLinks &links, QWidget *parent)
    : QDialog(parent), desktop_(desktop), links_(links)
{
    setObjectName(u"frmInfo"_s);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::WindowStaysOnTopHint);
    setWindowTitle(StripAmp(words(Word::MenuAbout)));
    setWindowIcon(programIcon());

    for (std::size_t i = 0; i < lbl.size(); ++i) {
        lbl[i] = new QLabel(this);
        lbl[i]->setObjectName(u"lbl"_s + QString::number(i));
    }
    QFont big = lbl[0]->font();
    big.setPointSizeF(big.pointSizeF() * 2.2);
    big.setBold(true);
    lbl[0]->setFont(big);
    lbl[0]->setToolTip(u" Bäh ! Here is no link "_s);
    lbl[0]->hide(); // the timer shows it with its first letter
    lbl[1]->setText(u"Made by the Plimsa developers"_s);
    lbl[2]->setText(u"Version :"_s);
    lbl[3]->setText(words(Word::UseOnOwnRisk));
    lbl[4]->setText(links_.mail);
    lbl[5]->setText(links_.homePage);
    lbl[6]->setText(words(Word::Back));
    lbl[7]->setText(u"Download Plimsa - Update"_s);
    lbl[8]->setText(words(Word::ShowUpdateInfo));
    for (int i = 4; i <= 8; ++i) {
        lbl[i]->setToolTip(words(Word::TipSendEmail + i - 4));
        lbl[i]->setCursor(Qt::PointingHandCursor);
        QFont underlined = lbl[i]->font();
        underlined.setUnderline(true);
        lbl[i]->setFont(underlined);
        lbl[i]->setForegroundRole(QPalette::Link);
    }

    lblVersion = new QLabel(programVersion, this);
    lblVersion->setObjectName(u"lblVersion"_s);
    lblIcon = new QLabel(this);
    lblIcon->setObjectName(u"lblIcon"_s);
    const int side = twipsX(this, 720);
    lblIcon->setPixmap(programIcon().pixmap(QSize(side, side), devicePixelRatioF()));

    // Takes the focus so that any key reaches it; it has no face of its own.
    cmdClose = new QPushButton(this);
    cmdClose->setObjectName(u"cmdClose"_s);
    cmdClose->setGeometry(0, 0, 0, 0);
    cmdClose->setAccessibleName(words(Word::Back));
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);
    cmdClose->setFocus();

    placeLabels();
    placeCentred(this, parent);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(u"Timer1"_s);
    Timer1->setInterval(105);
    connect(Timer1, &QTimer::timeout, this, &AboutBox::animateIcon);
    Timer1->start();

    // Last: setting fonts and texts above sends events, and the filter reads
    // the members set here.
    for (QLabel *label : lbl)
        label->installEventFilter(this);
    cmdClose->installEventFilter(this);
}

void AboutBox::placeLabels()
{
    lblIcon->setGeometry(twipsRect(this, 240, 240, 720, 720));
    lbl[0]->setGeometry(twipsRect(this, 1140, 240, 3420, 720));
    lbl[1]->setGeometry(twipsRect(this, 240, 1140, 4320, 285));
    lbl[2]->setGeometry(twipsRect(this, 240, 1440, 1080, 285));
    lblVersion->setGeometry(twipsRect(this, 1320, 1440, 3240, 285));
    lbl[3]->setGeometry(twipsRect(this, 240, 1740, 4320, 285));
    int top = 2160;
    for (int i : {4, 5, 7, 8}) {
        lbl[i]->setVisible(!target(i).isEmpty());
        if (lbl[i]->isVisibleTo(this)) {
            lbl[i]->setGeometry(twipsRect(this, 240, top, 4320, 285));
            top += kLinkRow;
        }
    }
    lbl[6]->setGeometry(twipsRect(this, 240, top + 60, 4320, 285));
    setFixedSize(twipsX(this, 4800), twipsY(this, top + 60 + 285 + 240));
}

QString AboutBox::target(int index) const
{
    switch (index) {
    case 4:
        return links_.mail.isEmpty() ? QString() : u"mailto:"_s + links_.mail;
    case 5:
        return links_.homePage;
    case 7:
        return links_.download;
    case 8:
        return links_.updateNotes;
    default:
        return {};
    }
}

void AboutBox::animateIcon()
{
    lbl[0]->show();
    ++letters_;
    lbl[0]->setText(kName.left(letters_));
    if (letters_ > 6)
        Timer1->stop();
}

void AboutBox::labelClicked(int index)
{
    if (isLink(index)) {
        const QString address = target(index);
        if (address.isEmpty())
            return;
        desktop_.openUrl(QUrl(address));
        accept();
    } else if (index == 6) {
        accept();
    }
}

void AboutBox::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        accept();
    else
        QDialog::keyPressEvent(event);
}

bool AboutBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == cmdClose && event->type() == QEvent::KeyPress) {
        accept();
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        for (std::size_t i = 0; i < lbl.size(); ++i) {
            if (watched == lbl[i])
                labelClicked(int(i));
        }
    }
    return QDialog::eventFilter(watched, event);
}
