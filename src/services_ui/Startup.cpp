#include "Startup.h"

#include "Splash.h"
#include "platform/Exception.h"
#include "platform/Format.h"
#include "platform/MessageBox.h"
#include "services/PathUtils.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <exception>

QString StartupErrorDetails;

namespace {

const QString kAppTitle = QStringLiteral("Ovik KRV Tessel");

QString framed(const QString& text) {
    return QLatin1Char(' ') + text + QLatin1Char(' ');
}

void pumpOnce() {
    QCoreApplication::processEvents();
}

} // namespace

QStringList DataFilePathsOfArguments(const QStringList& arguments, const QString& startFolder) {
    QStringList paths;
    for (const QString& argument : arguments) {
        if (!argument.trimmed().isEmpty()) {
            paths << AbsolutePathFrom(startFolder, argument);
        }
    }
    return paths;
}

QStringList CommandLineDataFiles() {
    return DataFilePathsOfArguments(QCoreApplication::arguments().mid(1), QDir::currentPath());
}

bool RunStartupStepWork(const std::function<void()>& work, bool literalDetails) {
    StartupErrorDetails.clear();
    QString message;
    try {
        work();
        return true;
    } catch (const platform::Exception& e) {
        message = e.message();
    } catch (const std::exception& e) {
        message = QString::fromUtf8(e.what());
    } catch (...) {
        message.clear();
    }
    if (!message.isEmpty()) {
        const QString format =
            literalDetails ? QStringLiteral("Details: %s") : UIT(txt::Details_1423);
        StartupErrorDetails = platform::Format(format, {message});
    }
    return false;
}

QString FatalErrorMessage(const QString& failureText, const QString& details) {
    const QString paragraphs[] = {
        platform::Format(QStringLiteral("%s: %s"),
                         {kAppTitle, QStringLiteral("An error has occurred.")}),
        framed(failureText),
        framed(details),
        framed(QStringLiteral("This is a fatal error. Unable to continue.")),
    };
    QStringList list(std::begin(paragraphs), std::end(paragraphs));
    return list.join(QStringLiteral("\r\n\r\n"));
}

TStartupSequence::TStartupSequence(std::vector<TStartupStep> steps,
                                   std::function<void()> freeGlobalObjects)
    : Steps(std::move(steps)), FreeGlobalObjects(std::move(freeGlobalObjects)) {}

TStartupSequence::~TStartupSequence() {
    FreeSplash();
}

void TStartupSequence::CreateSplash() {
    FreeSplash();
    UF_Splash = new TUF_Splash();
    UF_Splash->setStatus(7);
    UF_Splash->show();
    UF_Splash->repaint();
}

void TStartupSequence::FreeSplash() {
    delete UF_Splash;
    UF_Splash = nullptr;
}

bool TStartupSequence::RunSteps() {
    for (const TStartupStep& step : Steps) {
        if (Terminating) {
            return false;
        }
        if (step.SplashTextId != 0) {
            SplashStatus(step.SplashTextId);
            pumpOnce();
        }
        if (!step.Run()) {
            const QString failure = step.FailureTextId != 0
                                        ? UIT(step.FailureTextId)
                                        : QString::fromUtf8(step.FailureLiteral);
            FatalErrorExit(failure, step.FreeSplash);
            return false;
        }
        if (step.CreatesSplash) {
            CreateSplash();
        }
    }
    return !Terminating;
}

void TStartupSequence::FatalErrorExit(const QString& failureText, bool freeSplash) {
    platform::messageBox().show(platform::MessageBoxKind::Error, kAppTitle,
                                FatalErrorMessage(failureText, StartupErrorDetails));
    if (freeSplash) {
        FreeSplash();
    }
    if (FreeGlobalObjects) {
        FreeGlobalObjects();
    }
    Terminating = true;
    ExitStatus = 1;
}

void TStartupSequence::FinishSplash() {
    if (UF_Splash != nullptr) {
        UF_Splash->setStatus(35);
        // The splash timer stops itself when it fires; wait for that with the messages flowing.
        while (UF_Splash->getTimerEnabled()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        }
    }
    FreeSplash();
}
