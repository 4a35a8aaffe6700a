// SPDX-License-Identifier: GPL-3.0-or-later
// Handlers connected with connectGuarded: an error they throw is shown in the error box inside
// the slot, so the emitter and the slots after it go on as after any slot.
#include "platform/Error.h"
#include "support/DialogScript.h"
#include "support/GuiTestMain.h"
#include "ui/GuardedConnection.h"

#include <stdexcept>

using namespace struktur;

namespace {

class Emitter : public QObject {
    Q_OBJECT

Q_SIGNALS:
    void changed(const QString& text, int number);
};

class Handlers : public QObject {
    Q_OBJECT

public:
    void takeBoth(const QString& text, int number)
    {
        seen.append(QStringLiteral("%1 %2").arg(text).arg(number));
        throw Error(QStringLiteral("Fejl i %1").arg(text));
    }
    void takeNone()
    {
        seen.append(QStringLiteral("none"));
        throw std::runtime_error("no room left");
    }

    QStringList seen;
};

} // namespace

class TestGuardedConnection : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The signal is emitted straight from the test, outside any event the application could
    // catch: an error that left the slot would end the test function here.
    void errorsAreShownAndTheEmitterGoesOn()
    {
        test::DialogScript script;
        Emitter emitter;
        Handlers handlers;
        int later = 0;
        connectGuarded(&emitter, &Emitter::changed, &handlers, &Handlers::takeBoth);
        connectGuarded(&emitter, &Emitter::changed, &handlers, &Handlers::takeNone);
        connectGuarded(&emitter, &Emitter::changed, &handlers, [&](const QString& text, int) {
            ++later;
            throw Error(text);
        });
        connectGuarded(&emitter, &Emitter::changed, &handlers, [&] { ++later; });

        Q_EMIT emitter.changed(QStringLiteral("æble"), 3);
        Q_EMIT emitter.changed(QStringLiteral("pære"), 4);

        QCOMPARE(handlers.seen, QStringList({ "æble 3", "none", "pære 4", "none" }));
        QCOMPARE(later, 4);
        QCOMPARE(script.texts(),
            QStringList({ "Fejl i æble.", "no room left.", "æble.", "Fejl i pære.", "no room left.", "pære." }));
        for (const auto& request : script.shown)
            QCOMPARE(request.kind, Dialogs::Kind::Error);
    }

    void aHandlerThatSucceedsShowsNothing()
    {
        test::DialogScript script;
        Emitter emitter;
        QObject receiver;
        QString got;
        connectGuarded(&emitter, &Emitter::changed, &receiver, [&](const QString& text, int) { got = text; });
        Q_EMIT emitter.changed(QStringLiteral("ø"), 1);
        QCOMPARE(got, QStringLiteral("ø"));
        QVERIFY(script.shown.isEmpty());
    }

    void theConnectionEndsWithTheReceiver()
    {
        test::DialogScript script;
        Emitter emitter;
        int calls = 0;
        {
            QObject receiver;
            connectGuarded(&emitter, &Emitter::changed, &receiver, [&] { ++calls; });
            Q_EMIT emitter.changed({}, 0);
        }
        Q_EMIT emitter.changed({}, 0);
        QCOMPARE(calls, 1);
    }
};

STRUKTUR_GUI_TEST_MAIN(TestGuardedConnection)
#include "test_guarded_connection.moc"
