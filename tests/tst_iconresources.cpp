// The program's icon as the window shows it, as the Windows icon file holds
// it, and the Windows resources as the resource compiler makes them: the icon
// group IDI_ICON1 and the version record.
#include "forms/formabout.h"
#include "forms/programicon.h"
#include "testsupport.h"

#include <QImage>
#include <QLabel>
#include <QMap>
#include <QProcess>
#include <QtEndian>

namespace
{

const QList<int> windowSizes = {16, 22, 24, 32, 48, 64, 128, 256};
const QList<int> windowsSizes = {16, 20, 24, 32, 40, 48, 64, 128, 256};

quint16 word(const QByteArray &bytes, int at)
{
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

quint32 dword(const QByteArray &bytes, int at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

// One picture of an icon directory, as the .ico file or the icon group
// describes it; `ref` is the file offset or the icon resource number.
struct IconEntry {
    int width;
    int height;
    quint32 bytes;
    quint32 ref;
};

// The directory that starts an .ico file (entries of 16 bytes) or an icon
// group resource (entries of 14 bytes). Returns false on a bad header.
bool readIconDirectory(const QByteArray &data, int entrySize, QList<IconEntry> &entries)
{
    if (data.size() < 6 || word(data, 0) != 0 || word(data, 2) != 1)
        return false;
    const int count = word(data, 4);
    if (data.size() < 6 + count * entrySize)
        return false;
    for (int i = 0; i < count; ++i) {
        const int at = 6 + i * entrySize;
        const auto side = [](char c) { return c == 0 ? 256 : int(quint8(c)); };
        entries.append({side(data[at]), side(data[at + 1]), dword(data, at + 8),
                        entrySize == 16 ? dword(data, at + 12) : word(data, at + 12)});
    }
    return true;
}

// A compiled resource file: a row of headers, each followed by its data.
struct Resource {
    int type = 0; // numbered type, or 0 when named
    QString name; // the name, or the number as text
    QByteArray data;
};

QString readId(const QByteArray &bytes, int &at, int &number)
{
    number = 0;
    if (word(bytes, at) == 0xffff) {
        number = word(bytes, at + 2);
        at += 4;
        return QString::number(number);
    }
    QString text;
    for (; at + 1 < bytes.size() && word(bytes, at) != 0; at += 2)
        text.append(QChar(word(bytes, at)));
    at += 2;
    return text;
}

QList<Resource> readResources(const QByteArray &bytes)
{
    QList<Resource> resources;
    int at = 0;
    while (at + 8 <= bytes.size()) {
        const quint32 dataSize = dword(bytes, at);
        const quint32 headerSize = dword(bytes, at + 4);
        if (headerSize < 16 || at + qint64(headerSize) + dataSize > bytes.size())
            return {};
        int field = at + 8;
        Resource resource;
        int nameNumber = 0;
        readId(bytes, field, resource.type);
        resource.name = readId(bytes, field, nameNumber);
        resource.data = bytes.mid(at + int(headerSize), int(dataSize));
        if (resource.type != 0 || dataSize != 0) // the file starts with an empty one
            resources.append(resource);
        at = (at + int(headerSize) + int(dataSize) + 3) & ~3;
    }
    return resources;
}

// The version record is a tree of nodes: length, value length, type (1 for
// text), a key, then the value and the children, each on 4-byte boundaries.
struct VersionNode {
    QString key;
    QByteArray value;
    QString text;
    QList<VersionNode> children;
};

VersionNode readVersionNode(const QByteArray &bytes, int at)
{
    VersionNode node;
    const int end = qMin(at + word(bytes, at), bytes.size());
    const int valueLength = word(bytes, at + 2);
    const bool isText = word(bytes, at + 4) == 1;
    int field = at + 6;
    for (; field + 1 < end && word(bytes, field) != 0; field += 2)
        node.key.append(QChar(word(bytes, field)));
    field = (field + 2 + 3) & ~3;
    if (isText) {
        for (int c = field; c + 1 < end && word(bytes, c) != 0; c += 2)
            node.text.append(QChar(word(bytes, c)));
        field += valueLength * 2;
    } else {
        node.value = bytes.mid(field, valueLength);
        field += valueLength;
    }
    for (field = (field + 3) & ~3; field + 6 <= end; field = (field + 3) & ~3) {
        if (word(bytes, field) == 0)
            break;
        node.children.append(readVersionNode(bytes, field));
        field += word(bytes, field);
    }
    return node;
}

// Every "key = text" of the string tables of a version record.
QMap<QString, QString> versionStrings(const VersionNode &root)
{
    QMap<QString, QString> strings;
    for (const VersionNode &info : root.children)
        if (info.key == "StringFileInfo")
            for (const VersionNode &table : info.children)
                for (const VersionNode &entry : table.children)
                    strings.insert(entry.key, entry.text);
    return strings;
}

QList<int> sortedWidths(const QList<IconEntry> &entries)
{
    QList<int> widths;
    for (const IconEntry &entry : entries)
        widths.append(entry.width);
    std::sort(widths.begin(), widths.end());
    return widths;
}

} // namespace

class TestIconResources : public QObject
{
    Q_OBJECT

private slots:
    // Every size is there, and each picture is the drawing: transparent
    // corners around an opaque middle.
    void windowIconHasEverySize_data()
    {
        QTest::addColumn<int>("size");
        for (int size : windowSizes)
            QTest::addRow("%d", size) << size;
    }

    void windowIconHasEverySize()
    {
        QFETCH(int, size);
        const QIcon icon = programIcon();
        QVERIFY(icon.availableSizes().contains(QSize(size, size)));
        const QImage picture = icon.pixmap(size, size).toImage();
        QCOMPARE(picture.size(), QSize(size, size));
        QCOMPARE(qAlpha(picture.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(picture.pixel(size / 2, size / 2)), 255);
    }

    // Nine pictures, 16 to 256 pixels, each a PNG of the size its entry says.
    void windowsIconFileHoldsNineSizes()
    {
        QFile file(VELDRIX_ICO_FILE);
        QVERIFY2(file.open(QIODevice::ReadOnly), VELDRIX_ICO_FILE);
        const QByteArray bytes = file.readAll();
        QList<IconEntry> entries;
        QVERIFY(readIconDirectory(bytes, 16, entries));
        QCOMPARE(sortedWidths(entries), windowsSizes);
        for (const IconEntry &entry : entries) {
            QVERIFY(entry.ref + entry.bytes <= quint32(bytes.size()));
            const QImage picture = QImage::fromData(bytes.mid(int(entry.ref), int(entry.bytes)));
            QCOMPARE(picture.size(), QSize(entry.width, entry.height));
        }
    }

    // The resource script compiles, and what it gives is what Windows reads:
    // the icon group IDI_ICON1 with its nine pictures and the version record.
    void resourceScriptCompiles()
    {
        QVERIFY2(!QStringLiteral(VELDRIX_WINDRES).isEmpty(),
                 "x86_64-w64-mingw32-windres is missing: install binutils-mingw-w64-x86-64");
        QTemporaryDir out;
        const QString res = out.filePath("veldrix.res");
        QProcess windres;
        windres.setProcessChannelMode(QProcess::MergedChannels);
        windres.start(VELDRIX_WINDRES, {"--preprocessor=" VELDRIX_CPP, "-O", "res", "-i",
                                        VELDRIX_RC_FILE, "-o", res});
        QVERIFY(windres.waitForFinished(60000));
        QVERIFY2(windres.exitCode() == 0, windres.readAll().constData());
        QFile file(res);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<Resource> resources = readResources(file.readAll());
        QVERIFY(!resources.isEmpty());

        QMap<int, QByteArray> pictures; // icon resources by number
        const Resource *group = nullptr;
        const Resource *version = nullptr;
        for (const Resource &resource : resources) {
            if (resource.type == 3)
                pictures.insert(resource.name.toInt(), resource.data);
            else if (resource.type == 14 && resource.name == "IDI_ICON1")
                group = &resource;
            else if (resource.type == 16)
                version = &resource;
        }

        QVERIFY2(group, "no icon group IDI_ICON1");
        QList<IconEntry> entries;
        QVERIFY(readIconDirectory(group->data, 14, entries));
        QCOMPARE(sortedWidths(entries), windowsSizes);
        for (const IconEntry &entry : entries) {
            QVERIFY(pictures.contains(int(entry.ref)));
            QCOMPARE(QImage::fromData(pictures[int(entry.ref)]).width(), entry.width);
        }

        QVERIFY2(version, "no version record");
        const VersionNode root = readVersionNode(version->data, 0);
        QCOMPARE(root.key, QStringLiteral("VS_VERSION_INFO"));
        QVERIFY(root.value.size() >= 24);
        QCOMPARE(dword(root.value, 0), 0xfeef04bdu);
        QCOMPARE(dword(root.value, 8), 0x00020001u);  // file version 2.1
        QCOMPARE(dword(root.value, 12), 0x00000000u); // .0.0
        QCOMPARE(dword(root.value, 16), 0x00020001u); // product version 2.1
        QCOMPARE(dword(root.value, 20), 0x00000000u); // .0.0
        const QMap<QString, QString> strings = versionStrings(root);
        QCOMPARE(strings.value("ProductName"), QStringLiteral("VELDRIX"));
        QCOMPARE(strings.value("FileVersion"), QStringLiteral("2.1.0.0"));
        QCOMPARE(strings.value("ProductVersion"), QStringLiteral("2.1.0.0"));
        // The same line as the about dialog's, accents and dash included.
        FormAbout about(nullptr);
        QCOMPARE(strings.value("LegalCopyright"), about.findChild<QLabel *>("copyright")->text());
    }
};

VELDRIX_TEST_MAIN(TestIconResources)
#include "tst_iconresources.moc"
