#include "Automation.h"

#include "platform/Format.h"

#include <QDate>
#include <QLocale>
#include <cmath>

namespace automation {

std::unique_ptr<Application> createEngineApplication();

namespace {
ApplicationFactory currentFactory = &createEngineApplication;
}

Failure Failure::fromCode(uint32_t code, const QString& description) {
    if (!description.isEmpty()) {
        return Failure(description);
    }
    return Failure(QStringLiteral("OLE error %1").arg(code, 8, 16, QLatin1Char('0')));
}

std::unique_ptr<Application> createApplication() {
    return currentFactory();
}

ApplicationFactory setApplicationFactory(ApplicationFactory factory) {
    ApplicationFactory previous = currentFactory;
    currentFactory = factory != nullptr ? factory : &createEngineApplication;
    return previous;
}

QString valueToText(const Value& value) {
    struct Visitor {
        QString operator()(std::monostate) const { return {}; }
        QString operator()(double v) const { return QString::number(v, 'g', 15); }
        QString operator()(const QString& v) const { return v; }
        QString operator()(bool v) const {
            return v ? QStringLiteral("True") : QStringLiteral("False");
        }
        QString operator()(const CellError& v) const { return v.text; }
        QString operator()(const DateSerial& v) const {
            // Serial day numbers count from 30 December 1899; the time of day is not shown.
            const QDate date =
                QDate(1899, 12, 30).addDays(static_cast<qint64>(std::floor(v.serial)));
            return QLocale::c().toString(date, QStringLiteral("dd-MMM-yyyy"));
        }
    };
    return std::visit(Visitor{}, value);
}

} // namespace automation
