// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/Dialogs.h"

#include <QList>

namespace struktur::test {

/// Answers the program's message boxes in a test: records every request and gives the
/// queued answers in order (OK/Yes when the queue is empty). Restores the earlier responder on exit.
class DialogScript {
public:
    DialogScript()
        : m_previous(Dialogs::currentResponder())
    {
        Dialogs::setResponder([this](const Dialogs::Request& request) {
            shown.append(request);
            if (answers.isEmpty())
                return request.kind == Dialogs::Kind::AskYesNo || request.kind == Dialogs::Kind::AskYesNoCancel
                    ? Dialogs::Answer::Yes
                    : Dialogs::Answer::Ok;
            return answers.takeFirst();
        });
    }
    ~DialogScript() { Dialogs::setResponder(m_previous); }
    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;

    /// The texts shown, in order.
    QStringList texts() const
    {
        QStringList result;
        for (const auto& request : shown)
            result.append(request.text);
        return result;
    }

    QList<Dialogs::Request> shown;
    QList<Dialogs::Answer> answers;

private:
    Dialogs::Responder m_previous;
};

} // namespace struktur::test
