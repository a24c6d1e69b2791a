#include "ui/aboutbox_w.h"

#include "i18n/wordnumbers.h"
#include "i18n/wordtable.h"
#include "platform/desktopservices.h"
#include "ui/dialogform_w.h"
#include "ui/dialogplacement_w.h"
#include "ui/programicon_w.h"

#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

const QString kName = u"Plimsa"_s;

} // namespace

AboutLinks projectLinks()
{
    return {};
}

AboutBox::AboutBox(const Words &words, const QString &programVersion, DesktopServices &desktop,
                   const AboutLinks &links, QWidget *parent)
    : QDialog(parent), desktop_(desktop)
{
    setObjectName(u"frmInfo"_s);
    setWindowTitle(StripAmp(words(Word::MenuAbout)));
    setWindowIcon(programIcon());

    name_ = DialogForm::named<QLabel>(this, u"lbl0"_s);
    QFont big = name_->font();
    big.setPointSizeF(big.pointSizeF() * 2.2);
    big.setBold(true);
    name_->setFont(big);
    name_->setToolTip(u" Bäh ! Here is no link "_s);
    // The timer shows it with its first letter; its room is kept meanwhile.
    QSizePolicy kept = name_->sizePolicy();
    kept.setRetainSizeWhenHidden(true);
    name_->setSizePolicy(kept);
    name_->setMinimumHeight(twipsY(this, 720));
    name_->hide();
    maker_ = DialogForm::named<QLabel>(this, u"lbl1"_s);
    maker_->setText(u"Made by the Plimsa developers"_s);
    versionCaption_ = DialogForm::named<QLabel>(this, u"lbl2"_s);
    versionCaption_->setText(u"Version :"_s);
    version_ = DialogForm::named<QLabel>(this, u"lblVersion"_s);
    version_->setText(programVersion);
    ownRisk_ = DialogForm::named<QLabel>(this, u"lbl3"_s);
    ownRisk_->setText(words(Word::UseOnOwnRisk));
    icon_ = DialogForm::named<QLabel>(this, u"lblIcon"_s);
    const int side = twipsX(this, 720);
    icon_->setPixmap(programIcon().pixmap(QSize(side, side), devicePixelRatioF()));
    buildLinks(words, links);

    // Takes the focus so that any key reaches it; it has no face of its own.
    keyCatcher_ = DialogForm::named<QPushButton>(this, u"cmdClose"_s);
    keyCatcher_->setGeometry(0, 0, 0, 0);
    keyCatcher_->setAccessibleName(words(Word::Back));
    connect(keyCatcher_, &QPushButton::clicked, this, &QDialog::accept);
    keyCatcher_->setFocus();

    layOut();
    placeCentred(this, parent);

    letters_ = new QTimer(this);
    letters_->setObjectName(u"Timer1"_s);
    letters_->setInterval(105);
    connect(letters_, &QTimer::timeout, this, &AboutBox::showNextLetter);
    letters_->start();

    // Last: setting fonts and texts above sends events, and the filter reads
    // the members set here.
    for (const Link &link : links_)
        link.label->installEventFilter(this);
    back_->installEventFilter(this);
    keyCatcher_->installEventFilter(this);
}

void AboutBox::buildLinks(const Words &words, const AboutLinks &links)
{
    const std::tuple<int, QString, QString, int> rows[]{
        {4, links.mail, links.mail.isEmpty() ? QString() : u"mailto:"_s + links.mail,
         Word::TipSendEmail},
        {5, links.homePage, links.homePage, Word::TipVisitWebsite},
        {7, u"Download Plimsa - Update"_s, links.download, Word::TipDownloadLatest},
        {8, words(Word::ShowUpdateInfo), links.updateNotes, Word::TipShowUpdateInfo}};
    const auto linkLabel = [this, &words](int index, const QString &text, int tip) {
        auto *label = DialogForm::named<QLabel>(this, u"lbl"_s + QString::number(index));
        label->setText(text);
        label->setToolTip(words(tip));
        label->setCursor(Qt::PointingHandCursor);
        QFont underlined = label->font();
        underlined.setUnderline(true);
        label->setFont(underlined);
        label->setForegroundRole(QPalette::Link);
        return label;
    };
    for (std::size_t i = 0; i < links_.size(); ++i) {
        const auto &[index, text, target, tip] = rows[i];
        links_[i] = {linkLabel(index, text, tip), target};
    }
    back_ = linkLabel(6, words(Word::Back), Word::TipCloseInfo);
}

// The name beside the icon, the maker's line, the version as a row of its
// own, then the links that have an address, and Back.
void AboutBox::layOut()
{
    QFormLayout *form = DialogForm::formOf(this);
    setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
    const int margin = twipsX(this, 240);
    form->setContentsMargins(margin, margin, margin, margin);
    maker_->setMinimumWidth(twipsX(this, 4320));
    form->addRow(icon_, name_);
    form->addRow(maker_);
    form->addRow(versionCaption_, version_);
    form->addRow(ownRisk_);
    for (const Link &link : links_) {
        if (link.target.isEmpty())
            link.label->hide();
        else
            form->addRow(link.label);
    }
    form->addRow(back_);
    adjustSize();
}

void AboutBox::showNextLetter()
{
    name_->show();
    ++lettersShown_;
    name_->setText(kName.left(lettersShown_));
    if (lettersShown_ > 6)
        letters_->stop();
}

void AboutBox::clicked(const QLabel *label)
{
    if (label == back_) {
        accept();
        return;
    }
    for (const Link &link : links_) {
        if (label == link.label && !link.target.isEmpty()) {
            desktop_.openUrl(QUrl(link.target));
            accept();
        }
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
    if (watched == keyCatcher_ && event->type() == QEvent::KeyPress) {
        accept();
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
        clicked(qobject_cast<const QLabel *>(watched));
    return QDialog::eventFilter(watched, event);
}
