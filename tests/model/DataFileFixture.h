#pragma once

#include "model/ModelUtils.h"
#include "model/ovDF.h"
#include "model/ovDV.h"
#include "model/ovSD.h"
#include "program/GlobalObjects.h"
#include "support/FakeDataFile.h"
#include "support/FakeStdDlg.h"
#include "support/ModelGlobals.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// The data file's globals (see ModelGlobalsFixture) and the data file fixtures.
class DataFileFixture : public testsupport::ModelGlobalsFixture {
protected:
    static QString DataPath(const QString& name) {
        return QStringLiteral(KRV_TEST_DATA_DIR "/datafile/") + name;
    }

    static QByteArray ReadAll(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    static void WriteAll(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    // Copies a fixture into the temporary folder and returns the copy's path.
    QString CopyFixture(const QString& name) {
        const QString target = Path(name);
        QFile::remove(target);
        QFile::copy(DataPath(name), target);
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
        return target;
    }

    // Files of the temporary folder (hidden temporary files included), sorted.
    QStringList FolderEntries() const {
        return QDir(dir.path())
            .entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }
};
