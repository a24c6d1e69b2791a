#include "ui/codepagevalidator_w.h"

#include "i18n/wordnumbers.h"
#include "i18n/wordtable.h"
#include "platform/messages.h"
#include "ui/codepagerefusal.h"

#include <QLineEdit>
#include <QTimer>
#include <QValidator>

namespace {

class CodePageValidator : public QValidator
{
public:
    CodePageValidator(QLineEdit *field, Messages &messages, const Words &words)
        : QValidator(field), messages_(messages), words_(words)
    {}

    State validate(QString &input, int &) const override
    {
        const QString bad = CodePageRefusal::firstRefused(input);
        if (bad.isEmpty())
            return Acceptable;
        refuse(bad);
        return Invalid;
    }

private:
    void refuse(const QString &character) const
    {
        // The field may ask more than once about one edit; one message is
        // enough, and it is shown after the field has undone the edit rather
        // than from inside it.
        if (pending_)
            return;
        pending_ = true;
        QTimer::singleShot(0, this, [this, character] {
            pending_ = false;
            messages_.message(Messages::Icon::Information, words_(Word::Caution),
                              CodePageRefusal::message(character));
        });
    }

    Messages &messages_;
    const Words &words_;
    mutable bool pending_ = false;
};

} // namespace

void refuseUnstorableCharacters(QLineEdit *field, Messages &messages, const Words &words)
{
    field->setValidator(new CodePageValidator(field, messages, words));
}
