#include "ui/dialogform_w.h"

#include "i18n/wordnumbers.h"
#include "i18n/wordtable.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace DialogForm {

QFormLayout *formOf(QDialog *dialog)
{
    dialog->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint);
    auto *form = new QFormLayout(dialog);
    form->setSizeConstraint(QLayout::SetFixedSize);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    return form;
}

QLabel *addRow(QFormLayout *form, const QString &labelName, const QString &caption,
               QWidget *control)
{
    auto *label = new QLabel(caption + u" :"_s, form->parentWidget());
    label->setObjectName(labelName);
    label->setBuddy(control);
    control->setAccessibleName(StripAmp(caption));
    form->addRow(label, control);
    return label;
}

QDialogButtonBox *okCancel(QFormLayout *form, const Words &words)
{
    auto *buttons =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, form->parentWidget());
    QPushButton *ok = okButton(buttons);
    ok->setObjectName(u"cmdMain0"_s);
    ok->setText(words(Word::ButtonOk));
    ok->setDefault(true);
    QPushButton *cancel = cancelButton(buttons);
    cancel->setObjectName(u"cmdMain1"_s);
    cancel->setText(words(Word::ButtonCancel));
    form->addRow(buttons);
    return buttons;
}

QPushButton *okButton(const QDialogButtonBox *buttons)
{
    return buttons->button(QDialogButtonBox::Ok);
}

QPushButton *cancelButton(const QDialogButtonBox *buttons)
{
    return buttons->button(QDialogButtonBox::Cancel);
}

} // namespace DialogForm
