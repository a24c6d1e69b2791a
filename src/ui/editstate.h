#pragma once

#include <QObject>

// Whether the window views the notebook or edits the entry text or the mask.
// The edit modes set it; whatever must follow an edit (the command state, the
// recovery copy of the typed text, the close question) reads it or listens.
class EditState : public QObject
{
    Q_OBJECT
public:
    enum class Mode { Viewing, TextEdit, MaskEdit };
    Q_ENUM(Mode)

    using QObject::QObject;

    Mode mode() const { return mode_; }
    bool textEdit() const { return mode_ == Mode::TextEdit; }
    bool maskEdit() const { return mode_ == Mode::MaskEdit; }
    bool editing() const { return mode_ != Mode::Viewing; }

    void setMode(Mode mode);

Q_SIGNALS:
    void modeChanged(EditState::Mode now, EditState::Mode before);

private:
    Mode mode_ = Mode::Viewing;
};
