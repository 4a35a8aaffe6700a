// SPDX-License-Identifier: GPL-3.0-or-later
#include "Dialogs.h"

#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>

namespace struktur {
namespace {

Dialogs::Responder& responder()
{
    static Dialogs::Responder instance;
    return instance;
}

QMessageBox::Icon iconFor(Dialogs::Kind kind)
{
    switch (kind) {
    case Dialogs::Kind::Inform:
    case Dialogs::Kind::AskYesNo:
    case Dialogs::Kind::AskYesNoCancel:
        return QMessageBox::NoIcon;
    case Dialogs::Kind::InformIcon:
        return QMessageBox::Information;
    case Dialogs::Kind::Error:
    case Dialogs::Kind::ErrorClose:
        return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons buttonsFor(Dialogs::Kind kind)
{
    switch (kind) {
    case Dialogs::Kind::Inform:
    case Dialogs::Kind::InformIcon:
    case Dialogs::Kind::Error:
        return QMessageBox::Ok;
    case Dialogs::Kind::ErrorClose:
        return QMessageBox::Close;
    case Dialogs::Kind::AskYesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case Dialogs::Kind::AskYesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

Dialogs::Answer answerFor(int button)
{
    switch (button) {
    case QMessageBox::Yes:
        return Dialogs::Answer::Yes;
    case QMessageBox::No:
        return Dialogs::Answer::No;
    case QMessageBox::Cancel:
        return Dialogs::Answer::Cancel;
    case QMessageBox::Close:
        return Dialogs::Answer::Close;
    default:
        return Dialogs::Answer::Ok;
    }
}

} // namespace

Dialogs::Answer Dialogs::show(QWidget* parent, const Request& request)
{
    if (responder())
        return responder()(request);
    QString text = request.text;
    text.replace(QChar(u'\r'), QChar(u'\n'));
    QMessageBox box(iconFor(request.kind), request.caption, text, buttonsFor(request.kind), owner(parent));
    box.setTextFormat(Qt::PlainText);
    if (request.kind == Kind::AskYesNo || request.kind == Kind::AskYesNoCancel)
        box.setDefaultButton(QMessageBox::Yes);
    return answerFor(box.exec());
}

QWidget* Dialogs::owner(QWidget* parent)
{
    if (parent)
        return parent->window();
    if (QWidget* active = QApplication::activeModalWidget())
        return active;
    if (QWidget* active = QApplication::activeWindow())
        return active;
    // Nothing has the focus (the window manager gave it elsewhere, or none runs): the program's
    // main window, or else any window it shows.
    QWidget* shown = nullptr;
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (!window->isVisible() || window->windowType() == Qt::Popup || window->windowType() == Qt::ToolTip)
            continue;
        if (qobject_cast<QMainWindow*>(window))
            return window;
        if (!shown)
            shown = window;
    }
    return shown;
}

void Dialogs::inform(QWidget* parent, const QString& text)
{
    show(parent, {Kind::Inform, QStringLiteral("Information"), text});
}

void Dialogs::informWithIcon(QWidget* parent, const QString& text)
{
    show(parent, {Kind::InformIcon, QStringLiteral("Information"), text});
}

bool Dialogs::askYesNo(QWidget* parent, const QString& text)
{
    return show(parent, {Kind::AskYesNo, QStringLiteral("Spørgsmål"), text}) == Answer::Yes;
}

Dialogs::Answer Dialogs::askYesNoCancel(QWidget* parent, const QString& text)
{
    return show(parent, {Kind::AskYesNoCancel, QStringLiteral("Spørgsmål"), text});
}

void Dialogs::error(QWidget* parent, const QString& caption, const QString& text)
{
    show(parent, {Kind::Error, caption, text});
}

void Dialogs::errorWithClose(QWidget* parent, const QString& caption, const QString& text)
{
    show(parent, {Kind::ErrorClose, caption, text});
}

Dialogs::Responder Dialogs::currentResponder()
{
    return responder();
}

void Dialogs::setResponder(Responder newResponder)
{
    responder() = std::move(newResponder);
}

} // namespace struktur
