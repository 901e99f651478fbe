#pragma once

#include "XLEnvironment.h"
#include "platform/Exception.h"

#include <QStringList>

// The errors protocol every spreadsheet operation shares. body runs under two handlers: the
// user's Cancel (platform::EAbort) resets the Cancel flag, clears errors, empties the abort's
// message and raises it again; any other program exception resets the flag, replaces errors by
// the operation's lines (each followed by an empty line) and raises it again. lines receives the
// exception and may empty its message where the operation says so.
template <class Body, class Lines>
void RunUnderErrorsProtocol(XLEnvironment& env, QStringList& errors, Body&& body, Lines&& lines) {
    try {
        body();
    } catch (platform::EAbort& abort) {
        env.setCancelled(false);
        errors.clear();
        abort.setMessage(QString());
        throw;
    } catch (platform::Exception& e) {
        env.setCancelled(false);
        errors.clear();
        const QStringList operationLines = lines(e);
        for (const QString& line : operationLines) {
            errors << line << QString();
        }
        throw;
    }
}

// Processes pending messages; when Cancel is pending, resets it and raises the silent abort.
inline void PumpAndTestCancel(XLEnvironment& env) {
    env.processMessages();
    if (env.getCancelled()) {
        env.setCancelled(false);
        throw platform::EAbort();
    }
}

// Cancel test alone (no pumping).
inline void TestCancel(XLEnvironment& env) {
    if (env.getCancelled()) {
        env.setCancelled(false);
        throw platform::EAbort();
    }
}
