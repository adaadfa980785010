// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The window icon and the notification icon as the program embeds them: six classic BMP images each
// (16, 32 and 48 px, in 16 and in 256 colours) with a transparency mask, all on the same two palettes,
// and the application icon's exports for the freedesktop icon theme.

#include <QDataStream>
#include <QFile>
#include <QIcon>
#include <QImageReader>
#include <QtTest>

#include <algorithm>

namespace {

const QString WindowIcon = QStringLiteral(":/icons/wobblix-clock.ico");
const QString NotificationIcon = QStringLiteral(":/icons/notification.ico");

// The standard 16-colour VGA palette, in the order Windows gives it to 16-colour bitmaps.
const QList<QRgb> Vga16 = {
    qRgb(0x00, 0x00, 0x00), qRgb(0x80, 0x00, 0x00), qRgb(0x00, 0x80, 0x00), qRgb(0x80, 0x80, 0x00),
    qRgb(0x00, 0x00, 0x80), qRgb(0x80, 0x00, 0x80), qRgb(0x00, 0x80, 0x80), qRgb(0xC0, 0xC0, 0xC0),
    qRgb(0x80, 0x80, 0x80), qRgb(0xFF, 0x00, 0x00), qRgb(0x00, 0xFF, 0x00), qRgb(0xFF, 0xFF, 0x00),
    qRgb(0x00, 0x00, 0xFF), qRgb(0xFF, 0x00, 0xFF), qRgb(0x00, 0xFF, 0xFF), qRgb(0xFF, 0xFF, 0xFF),
};

// One image of an icon file as its directory entry and its bitmap header describe it.
struct IconEntry {
    int width = 0;  // directory: pixels
    int height = 0; // directory: pixels
    int colourCount = 0;
    int planes = 0;
    int bitCount = 0;  // directory: bits per pixel
    qint64 bytes = 0;  // directory: size of header, palette and both bitmaps
    qint64 offset = 0; // directory: from the start of the file
    quint32 headerSize = 0;
    qint32 bmpWidth = 0;
    qint32 bmpHeight = 0; // colour bitmap and mask together
    int bmpPlanes = 0;
    int bmpBitCount = 0;
    quint32 compression = 0;
    QList<QRgb> palette;
    bool paletteReservedZero = true;
};

// Bytes in one bitmap row: rows are padded to whole 32-bit words.
int rowStride(int width, int bits)
{
    return (width * bits + 31) / 32 * 4;
}

QList<IconEntry> readEntries(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = file.readAll();
    QDataStream in(data);
    in.setByteOrder(QDataStream::LittleEndian);
    quint16 reserved = 0, type = 0, count = 0;
    in >> reserved >> type >> count;
    if (reserved != 0 || type != 1)
        return {};
    QList<IconEntry> entries(count);
    for (IconEntry& entry : entries) {
        quint8 width = 0, height = 0, colours = 0, zero = 0;
        quint16 planes = 0, bits = 0;
        quint32 bytes = 0, offset = 0;
        in >> width >> height >> colours >> zero >> planes >> bits >> bytes >> offset;
        entry.width = width;
        entry.height = height;
        entry.colourCount = colours;
        entry.planes = planes;
        entry.bitCount = bits;
        entry.bytes = bytes;
        entry.offset = offset;
    }
    for (IconEntry& entry : entries) {
        if (entry.offset + entry.bytes > data.size() || !in.device()->seek(entry.offset))
            return {};
        quint16 planes = 0, bits = 0;
        quint32 sizeImage = 0, clrUsed = 0, clrImportant = 0;
        qint32 xPels = 0, yPels = 0;
        in >> entry.headerSize >> entry.bmpWidth >> entry.bmpHeight >> planes >> bits >> entry.compression >>
            sizeImage >> xPels >> yPels >> clrUsed >> clrImportant;
        entry.bmpPlanes = planes;
        entry.bmpBitCount = bits;
        const int paletteSize = bits <= 8 ? (clrUsed != 0 ? int(clrUsed) : 1 << bits) : 0;
        for (int i = 0; i < paletteSize; ++i) {
            quint8 blue = 0, green = 0, red = 0, unused = 0;
            in >> blue >> green >> red >> unused;
            entry.palette.append(qRgb(red, green, blue));
            entry.paletteReservedZero = entry.paletteReservedZero && unused == 0;
        }
        if (in.status() != QDataStream::Ok)
            return {};
    }
    return entries;
}

using SizeAndDepth = std::pair<int, int>;

} // namespace

class TestIcons : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void sixImages_data();
    void sixImages();
    void sharedPalettes();
    void differentArtwork();
    void themeExports_data();
    void themeExports();
};

void TestIcons::sixImages_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("window icon") << WindowIcon;
    QTest::newRow("notification icon") << NotificationIcon;
}

// Qt reads every image at its size, the file holds exactly 16, 32 and 48 px at 4 and 8 bits per pixel,
// each as a classic BMP entry whose size adds up, and the mask makes the corners see-through but not
// the middle.
void TestIcons::sixImages()
{
    QFETCH(QString, path);

    QImageReader reader(path);
    QCOMPARE(reader.format(), QByteArray("ico"));
    QCOMPARE(reader.imageCount(), 6);
    const QList<IconEntry> entries = readEntries(path);
    QCOMPARE(entries.size(), 6);

    QList<SizeAndDepth> found;
    QHash<SizeAndDepth, QImage> images;
    for (int i = 0; i < 6; ++i) {
        const IconEntry& entry = entries.at(i);
        QVERIFY(reader.jumpToImage(i));
        const QImage image = reader.read();
        QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
        QCOMPARE(image.size(), QSize(entry.width, entry.height));

        const int size = entry.width;
        const int bits = entry.bmpBitCount;
        QCOMPARE(entry.height, size);
        QCOMPARE(entry.headerSize, 40u);
        QCOMPARE(entry.bmpWidth, size);
        QCOMPARE(entry.bmpHeight, 2 * size);
        QCOMPARE(entry.bmpPlanes, 1);
        QCOMPARE(entry.planes, 1);
        QCOMPARE(entry.compression, 0u); // BI_RGB, not an embedded PNG
        QCOMPARE(entry.bitCount, bits);
        QCOMPARE(entry.colourCount, bits == 4 ? 16 : 0);
        QCOMPARE(entry.palette.size(), 1 << bits);
        QVERIFY(entry.paletteReservedZero);
        QCOMPARE(entry.bytes,
                 qint64(40 + 4 * (1 << bits) + (rowStride(size, bits) + rowStride(size, 1)) * size));

        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(image.pixel(size / 2, size / 2)), 255);
        found.append({size, bits});
        images.insert({size, bits}, image);
    }
    std::sort(found.begin(), found.end());
    const QList<SizeAndDepth> expected = {{16, 4}, {16, 8}, {32, 4}, {32, 8}, {48, 4}, {48, 8}};
    QCOMPARE(found, expected);

    // Both colour versions of a size come from the same drawing, so they let the same pixels through.
    for (int size : {16, 32, 48}) {
        const QImage alpha4 = images.value({size, 4}).convertToFormat(QImage::Format_Alpha8);
        const QImage alpha8 = images.value({size, 8}).convertToFormat(QImage::Format_Alpha8);
        QCOMPARE(alpha4, alpha8);
    }

    // The window takes one image per size from the file.
    QList<QSize> sizes = QIcon(path).availableSizes();
    std::sort(sizes.begin(), sizes.end(), [](QSize a, QSize b) { return a.width() < b.width(); });
    QCOMPARE(sizes, (QList<QSize>{{16, 16}, {32, 32}, {48, 48}}));
}

// Every 16-colour image of both icons is on the VGA palette, every 256-colour image on one and the same
// 256-colour palette.
void TestIcons::sharedPalettes()
{
    QList<QRgb> palette256;
    for (const QString& path : {WindowIcon, NotificationIcon}) {
        const QList<IconEntry> entries = readEntries(path);
        QVERIFY(!entries.isEmpty());
        for (const IconEntry& entry : entries) {
            if (entry.bmpBitCount == 4) {
                QCOMPARE(entry.palette, Vga16);
            } else {
                QCOMPARE(entry.palette.size(), 256);
                if (palette256.isEmpty())
                    palette256 = entry.palette;
                QCOMPARE(entry.palette, palette256);
            }
        }
    }
}

void TestIcons::differentArtwork()
{
    for (int index = 0; index < 6; ++index) {
        QImageReader window(WindowIcon);
        QImageReader notification(NotificationIcon);
        QVERIFY(window.jumpToImage(index));
        QVERIFY(notification.jumpToImage(index));
        QVERIFY(window.read() != notification.read());
    }
}

void TestIcons::themeExports_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("16") << 16;
    QTest::newRow("32") << 32;
    QTest::newRow("48") << 48;
}

// The freedesktop theme gets the application icon at each size, full colour with alpha, and scalable.
void TestIcons::themeExports()
{
    QFETCH(int, size);
    const QString hicolor = QStringLiteral(WOBBLIX_SOURCE_DIR "/resources/icons/hicolor");
    const QImage png(QStringLiteral("%1/%2x%2/apps/wobblix-clock.png").arg(hicolor).arg(size));
    QCOMPARE(png.size(), QSize(size, size));
    QVERIFY(png.hasAlphaChannel());
    QCOMPARE(qAlpha(png.pixel(0, 0)), 0);
    QVERIFY(QFile::exists(hicolor + QStringLiteral("/scalable/apps/wobblix-clock.svg")));
}

QTEST_MAIN(TestIcons)
#include "tst_icons.moc"
