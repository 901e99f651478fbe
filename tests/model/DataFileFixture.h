#pragma once

#include "model/ModelUtils.h"
#include "model/ovDF.h"
#include "model/ovDV.h"
#include "model/ovSD.h"
#include "program/GlobalObjects.h"
#include "support/FakeDataFile.h"
#include "support/FakeStdDlg.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// The globals the data file works on (SDs, DV, DF) with scripted dialogues, a fixed today and
// a temporary folder.
class DataFileFixture : public testing::Test {
protected:
    static constexpr double kToday = 41348; // 15 March 2013

    void SetUp() override {
        modelutil::setModelToday([] { return kToday; });
        TGlobalObjectsSetup setup;
        setup.FileDialogs = &dialogs;
        setup.LoadSettings = false;
        using G = TGlobalObject;
        globals = std::make_unique<TGlobalObjects>(
            std::initializer_list<TGlobalObject>{G::goDV, G::goSDs, G::goDF}, setup);
        DF->setView(&view);
        DF->setRecentFiles(&recent);
        DF->setPreferences(&prefs);
    }
    void TearDown() override {
        globals.reset();
        modelutil::setModelToday({});
    }

    QString Path(const QString& name) const { return dir.filePath(name); }

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

    QTemporaryDir dir;
    testsupport::FakeStdDlg dlg;
    testsupport::FakeFileDialogs dialogs;
    testsupport::FakeDataFileView view;
    testsupport::FakeRecentFiles recent;
    testsupport::FakeDataFilePreferences prefs;
    std::unique_ptr<TGlobalObjects> globals;
};
