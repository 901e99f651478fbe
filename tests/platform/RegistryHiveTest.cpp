#include "platform/RegistryHive.h"
#include "platform/Registry.h"
#include "support/TempRegistry.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <gtest/gtest.h>

namespace {

using platform::RegistryError;
using platform::RegistryHive;
using platform::RegistryRoot;
using platform::RegValueType;
using testsupport::ScopedEnv;
using testsupport::TempRegistry;

const QString kUP = QStringLiteral("Software\\Tarrow Studio\\Ovik KRV Tessel\\UP");

TEST(RegistryHive, ReadsTheExportFormatAndWritesItBackUnchanged) {
    const QByteArray text = "Windows Registry Editor Version 5.00\n\n"
                            "[HKEY_CURRENT_USER\\Software\\A]\n"
                            "@=\"default text\"\n"
                            "\"Path\"=\"C:\\\\Data\\\\\\\"quoted\\\".krvc\"\n"
                            "\"Count\"=dword:0000000a\n"
                            "\"Blob\"=hex:01,02,\\\n  03,04\n"
                            "; a comment the program does not read\n"
                            "\"Wide\"=qword:0000000000000001\n\n";
    const RegistryHive hive = RegistryHive::parse(text, QStringLiteral("t.reg"));
    const QString key = QStringLiteral("hkey_current_user\\SOFTWARE\\a");
    ASSERT_NE(hive.value(key, QString()), nullptr);
    EXPECT_EQ(hive.value(key, QString())->text, QStringLiteral("default text"));
    EXPECT_EQ(hive.value(key, QStringLiteral("path"))->text,
              QStringLiteral("C:\\Data\\\"quoted\".krvc"));
    EXPECT_EQ(hive.value(key, QStringLiteral("COUNT"))->dword, 10U);
    EXPECT_EQ(hive.value(key, QStringLiteral("Blob"))->type, RegValueType::Other);
    EXPECT_EQ(hive.value(key, QStringLiteral("Missing")), nullptr);

    // What the program does not understand survives a rewrite.
    const RegistryHive again = RegistryHive::parse(hive.serialize(), QStringLiteral("t.reg"));
    EXPECT_EQ(again.serialize(), hive.serialize());
    EXPECT_TRUE(hive.serialize().contains("\"Blob\"=hex:01,02,03,04"));
    EXPECT_TRUE(hive.serialize().contains("; a comment the program does not read"));
    EXPECT_TRUE(hive.serialize().contains("\"Wide\"=qword:0000000000000001"));
}

TEST(RegistryHive, KeepsLineBreaksOfATextAndReadsUtf16Exports) {
    RegistryHive hive;
    hive.setValue(QStringLiteral("HKEY_CURRENT_USER\\X"), QStringLiteral("T"),
                  platform::RegValue::string(QStringLiteral("one\r\ntwo \u00e9")));
    const RegistryHive back = RegistryHive::parse(hive.serialize(), QStringLiteral("t.reg"));
    EXPECT_EQ(back.value(QStringLiteral("HKEY_CURRENT_USER\\X"), QStringLiteral("T"))->text,
              QStringLiteral("one\r\ntwo \u00e9"));

    const QString utf16Text =
        QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n"
                       "[HKEY_CURRENT_USER\\Y]\r\n\"N\"=\"\u00e9t\u00e9\"\r\n");
    QByteArray utf16("\xFF\xFE", 2);
    for (const QChar c : utf16Text) {
        utf16.append(static_cast<char>(c.unicode() & 0xFF));
        utf16.append(static_cast<char>(c.unicode() >> 8));
    }
    const RegistryHive wide = RegistryHive::parse(utf16, QStringLiteral("w.reg"));
    EXPECT_EQ(wide.value(QStringLiteral("HKEY_CURRENT_USER\\Y"), QStringLiteral("N"))->text,
              QStringLiteral("\u00e9t\u00e9"));
}

TEST(RegistryHive, EveryTextReadsBackExactlyAsWritten) {
    const QString key = QStringLiteral("HKEY_CURRENT_USER\\X");
    const QString cases[] = {
        QString(),
        QStringLiteral("a") + QChar(0) + QStringLiteral("b"), // cut at the NUL before
        QStringLiteral("ends with NUL") + QChar(0),
        QString(QChar(0)),
        QStringLiteral("C:\\folder\\"),
        QStringLiteral("\"quoted\" \\\""),
        QStringLiteral("tab\tand\rreturn"),
        QStringLiteral("lone ") + QChar(0xD800) + QStringLiteral(" surrogate"),
        QStringLiteral("=hex:01,\\"),
    };
    for (const QString& text : cases) {
        RegistryHive hive;
        hive.setValue(key, QStringLiteral("T"), platform::RegValue::string(text));
        hive.setValue(key, QStringLiteral("After"), platform::RegValue::number(7));
        const RegistryHive back = RegistryHive::parse(hive.serialize(), QStringLiteral("t.reg"));
        const platform::RegValue* value = back.value(key, QStringLiteral("T"));
        ASSERT_NE(value, nullptr) << text.toStdString();
        EXPECT_EQ(value->type, RegValueType::String) << text.toStdString();
        EXPECT_EQ(value->text, text) << "length " << text.size();
        ASSERT_NE(back.value(key, QStringLiteral("After")), nullptr);
        EXPECT_EQ(back.value(key, QStringLiteral("After"))->dword, 7U);
    }
    RegistryHive hive;
    EXPECT_THROW(hive.setValue(key, QStringLiteral("two\nlines"), platform::RegValue::number(1)),
                 RegistryError);
    EXPECT_THROW(hive.createKey(QStringLiteral("HKEY_CURRENT_USER\\two\nlines")), RegistryError);
}

TEST(RegistryHive, AContinuationOnTheLastLineDoesNotSwallowTheNextValue) {
    // The file ends inside hex data: the trailing backslashes continue nothing.
    const QString key = QStringLiteral("HKEY_CURRENT_USER\\K");
    for (const QByteArray& tail : {QByteArray("\\"), QByteArray("\\\\\\"), QByteArray(" \\ \\")}) {
        const QByteArray text = "Windows Registry Editor Version 5.00\n\n"
                                "[HKEY_CURRENT_USER\\K]\n"
                                "\"Tail\"=hex(7):41,00,00,00," +
                                tail;
        RegistryHive hive = RegistryHive::parse(text, QStringLiteral("t.reg"));
        hive.setValue(key, QStringLiteral("Set"),
                      platform::RegValue::string(QStringLiteral("kept")));
        const RegistryHive back = RegistryHive::parse(hive.serialize(), QStringLiteral("t.reg"));
        ASSERT_NE(back.value(key, QStringLiteral("Set")), nullptr) << tail.size();
        EXPECT_EQ(back.value(key, QStringLiteral("Set"))->text, QStringLiteral("kept"));
        EXPECT_EQ(back.value(key, QStringLiteral("Tail"))->raw,
                  QStringLiteral("hex(7):41,00,00,00,"));
        EXPECT_EQ(back.serialize(), hive.serialize()) << tail.size();
    }
}

// A hive is read in one pass over the file: a key with a hundred thousand values, or a value
// continued over a hundred thousand lines, loads at once instead of taking minutes.
TEST(RegistryHive, LargeKeysAndLongValuesLoadInOnePass) {
    constexpr int kValues = 100000;
    const QString key = QStringLiteral("HKEY_CURRENT_USER\\Big");
    QByteArray text = "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Big]\n";
    for (int i = 0; i < kValues; ++i) {
        text += QStringLiteral("\"Value %1\"=dword:%2\n")
                    .arg(i)
                    .arg(i, 8, 16, QLatin1Char('0'))
                    .toUtf8();
    }
    text += "\n";
    RegistryHive hive = RegistryHive::parse(
        text + "[HKEY_CURRENT_USER\\Big]\n\"VALUE 3\"=\"again\"\n", QStringLiteral("big.reg"));
    for (const int i : {0, 1, kValues / 2, kValues - 1}) {
        const platform::RegValue* value = hive.value(key, QStringLiteral("vAlUe %1").arg(i));
        ASSERT_NE(value, nullptr) << i;
        EXPECT_EQ(value->dword, static_cast<quint32>(i));
    }
    // A name given again takes its new value in its first place, under its first spelling.
    ASSERT_NE(hive.value(key, QStringLiteral("value 3")), nullptr);
    EXPECT_EQ(hive.value(key, QStringLiteral("value 3"))->text, QStringLiteral("again"));
    QByteArray expected = text;
    expected.replace("\"Value 3\"=dword:00000003", "\"Value 3\"=\"again\"");
    EXPECT_EQ(hive.serialize(), expected);

    // Writes find the value in its place too; a new one goes after the others.
    hive.setValue(key, QStringLiteral("VALUE 3"), platform::RegValue::number(3));
    hive.setValue(key, QStringLiteral("Value %1").arg(kValues),
                  platform::RegValue::number(kValues));
    expected = text;
    expected.insert(expected.size() - 1, QStringLiteral("\"Value %1\"=dword:%2\n")
                                             .arg(kValues)
                                             .arg(kValues, 8, 16, QLatin1Char('0'))
                                             .toUtf8());
    EXPECT_EQ(hive.serialize(), expected);

    QByteArray continued = "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Big]\n"
                           "\"Blob\"=hex:\\\n";
    for (int i = 0; i < kValues; ++i) {
        continued += "  0a,\\\n";
    }
    continued += "  0b\n";
    const RegistryHive blob = RegistryHive::parse(continued, QStringLiteral("blob.reg"));
    const platform::RegValue* value = blob.value(key, QStringLiteral("blob"));
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->raw, QStringLiteral("hex:") + QStringLiteral("0a,").repeated(kValues) +
                              QStringLiteral("0b"));
}

TEST(RegistryHive, RefusesAFileThatIsNotAHiveNamingIt) {
    try {
        RegistryHive::parse("garbage\n[HKEY_CURRENT_USER\\X]\n", QStringLiteral("/tmp/u.reg"));
        FAIL() << "no error";
    } catch (const RegistryError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("/tmp/u.reg")));
    }
    EXPECT_NO_THROW(RegistryHive::parse("", QStringLiteral("empty.reg")));
}

TEST(Registry, FindsTheHivesInTheRegistryFolderOrTheConfigFolder) {
    {
        TempRegistry reg;
        platform::RegistryFiles files =
            platform::registryFiles(QStringLiteral("/inst/machine.reg"));
        EXPECT_EQ(files.userHive, reg.userHive());
        EXPECT_EQ(files.machineHive, QStringLiteral("/inst/machine.reg"));
        reg.writeMachineHive("Windows Registry Editor Version 5.00\n");
        files = platform::registryFiles(QStringLiteral("/inst/machine.reg"));
        EXPECT_EQ(files.machineHive, reg.machineHive());
    }
    ScopedEnv noFolder(platform::kRegistryFolderVariable, QString());
    ScopedEnv config("XDG_CONFIG_HOME", QStringLiteral("/home/u/.cfg"));
    EXPECT_EQ(platform::registryFiles(QString()).userHive,
              QStringLiteral("/home/u/.cfg/Tarrow Studio/Ovik KRV Tessel/user.reg"));
}

TEST(Registry, ReadsDefaultsWithoutCreatingAndWritesWholeKeyPaths) {
    TempRegistry reg;
    const platform::Registry r(platform::registryFiles(reg.machineHive()));
    EXPECT_EQ(
        r.readString(RegistryRoot::CurrentUser, kUP, QStringLiteral("X"), QStringLiteral("d")),
        QStringLiteral("d"));
    EXPECT_EQ(r.readInteger(RegistryRoot::CurrentUser, kUP, QStringLiteral("N"), 7), 7);
    EXPECT_FALSE(QFileInfo::exists(reg.userHive()));

    r.writeInteger(RegistryRoot::CurrentUser, kUP, QStringLiteral("N"), -1);
    r.writeBool(RegistryRoot::CurrentUser, kUP, QStringLiteral("B"), true);
    r.writeString(RegistryRoot::CurrentUser, kUP, QString(), QStringLiteral("def"));
    const QByteArray text = reg.readUserHive();
    EXPECT_TRUE(text.startsWith("Windows Registry Editor Version 5.00"));
    EXPECT_TRUE(text.contains("[HKEY_CURRENT_USER\\Software\\Tarrow Studio]"));
    EXPECT_TRUE(text.contains("\"N\"=dword:ffffffff"));
    EXPECT_TRUE(text.contains("@=\"def\""));
    EXPECT_EQ(r.readInteger(RegistryRoot::CurrentUser, kUP.toUpper(), QStringLiteral("n"), 0), -1);
    EXPECT_TRUE(r.readBool(RegistryRoot::CurrentUser, kUP, QStringLiteral("B"), false));
    EXPECT_TRUE(r.valueExists(RegistryRoot::CurrentUser, kUP, QString()));
}

TEST(Registry, AValueOfTheWrongTypeRaisesNamingIt) {
    TempRegistry reg;
    reg.writeUserHive("Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\K]\n"
                      "\"S\"=\"text\"\n\"D\"=dword:00000001\n\"H\"=hex:00\n");
    const platform::Registry r(platform::registryFiles(reg.machineHive()));
    const auto root = RegistryRoot::CurrentUser;
    const QString k = QStringLiteral("K");
    EXPECT_THROW(r.readInteger(root, k, QStringLiteral("S"), 0), RegistryError);
    EXPECT_THROW(r.readBool(root, k, QStringLiteral("S"), false), RegistryError);
    EXPECT_THROW(r.readString(root, k, QStringLiteral("D"), QString()), RegistryError);
    try {
        r.readString(root, k, QStringLiteral("H"), QString());
        FAIL() << "no error";
    } catch (const RegistryError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("'H' in HKEY_CURRENT_USER\\K")));
    }
}

TEST(Registry, TheMachineHiveIsReadOnlyAndAnUnreadableUserHiveIsNeverReplaced) {
    TempRegistry reg;
    reg.writeMachineHive(
        "Windows Registry Editor Version 5.00\n\n"
        "[HKEY_CLASSES_ROOT\\Excel.Application\\CurVer]\n@=\"Excel.Application.12\"\n");
    const platform::Registry r(platform::registryFiles(QStringLiteral("/nowhere/machine.reg")));
    EXPECT_EQ(r.readString(RegistryRoot::ClassesRoot, QStringLiteral("excel.application\\curver"),
                           QString(), QString()),
              QStringLiteral("Excel.Application.12"));
    EXPECT_FALSE(r.valueExists(RegistryRoot::LocalMachine,
                               QStringLiteral("Excel.Application\\CurVer"), QString()));
    EXPECT_THROW(r.writeString(RegistryRoot::ClassesRoot, QStringLiteral("X"), QString(),
                               QStringLiteral("v")),
                 RegistryError);

    reg.writeUserHive("this is not a hive\n");
    EXPECT_THROW(r.writeInteger(RegistryRoot::CurrentUser, kUP, QStringLiteral("N"), 1),
                 RegistryError);
    EXPECT_EQ(reg.readUserHive(), QByteArray("this is not a hive\n"));
}

TEST(Registry, ABatchWritesOnceOnCommitAndDiscardsWithout) {
    TempRegistry reg;
    const platform::RegistryFiles files = platform::registryFiles(reg.machineHive());
    const platform::Registry r(files);
    {
        platform::RegistryBatch batch(files);
        r.writeInteger(RegistryRoot::CurrentUser, kUP, QStringLiteral("A"), 1);
        EXPECT_EQ(r.readInteger(RegistryRoot::CurrentUser, kUP, QStringLiteral("A"), 0), 1);
        EXPECT_FALSE(QFileInfo::exists(reg.userHive()));
    }
    EXPECT_FALSE(QFileInfo::exists(reg.userHive()));
    {
        platform::RegistryBatch batch(files);
        r.writeInteger(RegistryRoot::CurrentUser, kUP, QStringLiteral("A"), 2);
        batch.commit();
    }
    EXPECT_EQ(r.readInteger(RegistryRoot::CurrentUser, kUP, QStringLiteral("A"), 0), 2);
}

TEST(Registry, EveryReadSeesTheHiveAsItIsNowWhoeverChangedIt) {
    TempRegistry reg;
    const platform::RegistryFiles files = platform::registryFiles(reg.machineHive());
    const platform::Registry r(files);
    const platform::Registry other(files);
    const auto root = RegistryRoot::CurrentUser;
    const QString k = QStringLiteral("K");
    const QString a = QStringLiteral("A");

    // Rewritten in place by another program: the same size, very likely the same time stamp.
    reg.writeUserHive("Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\K]\n"
                      "\"A\"=dword:00000001\n");
    EXPECT_EQ(r.readInteger(root, k, a, 0), 1);
    reg.writeUserHive("Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\K]\n"
                      "\"A\"=dword:00000002\n");
    EXPECT_EQ(r.readInteger(root, k, a, 0), 2);

    // Written by this program and by another instance of it.
    r.writeInteger(root, k, a, 3);
    EXPECT_EQ(other.readInteger(root, k, a, 0), 3);
    other.writeInteger(root, k, QStringLiteral("B"), 4);
    EXPECT_EQ(r.readInteger(root, k, a, 0), 3);
    EXPECT_EQ(r.readInteger(root, k, QStringLiteral("B"), 0), 4);

    // Spoilt after a good read: the fault is told, not the hive read before; removed: defaults.
    reg.writeUserHive("this is not a hive\n");
    EXPECT_THROW(r.readInteger(root, k, a, 0), RegistryError);
    ASSERT_TRUE(QFile::remove(reg.userHive()));
    EXPECT_EQ(r.readInteger(root, k, a, 9), 9);
}

} // namespace
