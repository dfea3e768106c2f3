// The program's icon as the window shows it and as the Windows icon file
// holds it, and the Windows resources once compiled: the icon group IDI_ICON1
// and the version record.
#include "forms/programicon.h"
#include "testsupport.h"

#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QtEndian>

#include <algorithm>

namespace
{

const QList<int> windowsSizes = {16, 20, 24, 32, 40, 48, 64, 128, 256};

// Runs the MinGW resource compiler; false with its messages on failure.
bool windres(const QStringList &arguments, QByteArray &output)
{
    QProcess process;
    process.start(VELDRIX_WINDRES, QStringList{"--preprocessor=" VELDRIX_CPP} + arguments);
    const bool done = process.waitForFinished(60000);
    output = process.readAllStandardOutput() + process.readAllStandardError();
    return done && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

} // namespace

class TestIconResources : public QObject
{
    Q_OBJECT

private slots:
    // Every size is there, and each picture is the drawing: transparent
    // corners around an opaque middle.
    void windowIconHasEverySize()
    {
        const QIcon icon = programIcon();
        for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
            QVERIFY2(icon.availableSizes().contains(QSize(size, size)),
                     qPrintable(QString::number(size)));
            const QImage picture = icon.pixmap(size, size).toImage();
            QCOMPARE(picture.size(), QSize(size, size));
            QCOMPARE(qAlpha(picture.pixel(0, 0)), 0);
            QCOMPARE(qAlpha(picture.pixel(size / 2, size / 2)), 255);
        }
    }

    // Nine pictures, 16 to 256 pixels, each a PNG of the size its directory
    // entry gives (one byte per side, 0 standing for 256).
    void windowsIconFileHoldsNineSizes()
    {
        QFile file(VELDRIX_ICO_FILE);
        QVERIFY2(file.open(QIODevice::ReadOnly), VELDRIX_ICO_FILE);
        const QByteArray ico = file.readAll();
        const auto word = [&](int at) { return qFromLittleEndian<quint16>(ico.constData() + at); };
        const auto dword = [&](int at) { return qFromLittleEndian<quint32>(ico.constData() + at); };
        QVERIFY(ico.size() >= 6 + 16 * windowsSizes.size() && word(0) == 0 && word(2) == 1);
        QCOMPARE(int(word(4)), windowsSizes.size());
        QList<int> sides;
        for (int entry = 6; entry < 6 + 16 * windowsSizes.size(); entry += 16) {
            const int side = quint8(ico[entry]) == 0 ? 256 : quint8(ico[entry]);
            QCOMPARE(quint8(ico[entry + 1]), quint8(ico[entry]));
            const quint32 size = dword(entry + 8), offset = dword(entry + 12);
            QVERIFY(quint64(offset) + size <= quint64(ico.size()));
            const QImage picture = QImage::fromData(ico.mid(int(offset), int(size)), "PNG");
            QCOMPARE(picture.size(), QSize(side, side));
            sides.append(side);
        }
        std::sort(sides.begin(), sides.end());
        QCOMPARE(sides, windowsSizes);
    }

    // The resource script compiles; read back from the compiled file, it
    // holds the icon group IDI_ICON1 of nine pictures and the version record.
    void resourceScriptCompiles()
    {
        QVERIFY2(!QStringLiteral(VELDRIX_WINDRES).isEmpty(),
                 "x86_64-w64-mingw32-windres is missing: install binutils-mingw-w64-x86-64");
        QTemporaryDir out;
        const QString res = out.filePath("veldrix.res");
        QByteArray messages;
        QVERIFY2(windres({"-O", "res", "-i", VELDRIX_RC_FILE, "-o", res}, messages),
                 messages.constData());
        QByteArray text;
        QVERIFY2(windres({"-O", "rc", "-i", res}, text), text.constData());

        // The group lists each picture as "\<width>\<height>\000\000" in octal.
        const int group = text.indexOf("\"IDI_ICON1\" 14 /* RT_GROUP_ICON */");
        QVERIFY2(group >= 0, "no icon group IDI_ICON1");
        const QString groupText =
            QString::fromLatin1(text.mid(group, text.indexOf("END", group) - group));
        QList<int> sides;
        const QRegularExpression entry(R"re("\\(\d{3})\\\1\\000\\000", 1, 32,)re");
        for (auto match = entry.globalMatch(groupText); match.hasNext();) {
            const int side = match.next().captured(1).toInt(nullptr, 8);
            sides.append(side == 0 ? 256 : side);
        }
        std::sort(sides.begin(), sides.end());
        QCOMPARE(sides, windowsSizes);
        QCOMPARE(text.count("3 /* RT_ICON */"), windowsSizes.size());

        for (const char *line :
             {"FILEVERSION 2, 1, 0, 0", "PRODUCTVERSION 2, 1, 0, 0",
              R"(VALUE "ProductName", "VELDRIX")", R"(VALUE "FileVersion", "2.1.0.0")",
              R"(VALUE "ProductVersion", "2.1.0.0")"})
            QVERIFY2(text.contains(line), line);
    }
};

VELDRIX_TEST_MAIN(TestIconResources)
#include "tst_iconresources.moc"
