#include "DemoDataInternal.h"
#include "FileSizeText.h"

#include <QtEndian>

// Attachments of the demo vouchers: a small drawing of the product as a 24-bit BMP (the picture
// control shows BMP, JPEG and GIF; BMP needs no image library to write) and a plain-text note.

namespace {

void put16(QByteArray &out, quint16 v)
{
    const quint16 le = qToLittleEndian(v);
    out.append(reinterpret_cast<const char *>(&le), 2);
}

void put32(QByteArray &out, quint32 v)
{
    const quint32 le = qToLittleEndian(v);
    out.append(reinterpret_cast<const char *>(&le), 4);
}

// A light background with a coloured disc (a pump housing seen from the front) whose colour depends
// on the voucher.
QByteArray drawing(int id)
{
    const int width = 96;
    const int height = 64;
    const int stride = (width * 3 + 3) & ~3;
    QByteArray out;
    out.reserve(54 + stride * height);
    out.append("BM", 2);
    put32(out, quint32(54 + stride * height));
    put32(out, 0);
    put32(out, 54);
    put32(out, 40);
    put32(out, quint32(width));
    put32(out, quint32(height));
    put16(out, 1);
    put16(out, 24);
    put32(out, 0);
    put32(out, quint32(stride * height));
    put32(out, 2835);
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    const int r = 60 + (id * 53) % 180;
    const int g = 60 + (id * 97) % 180;
    const int b = 60 + (id * 29) % 180;
    for (int y = 0; y < height; ++y) {
        QByteArray row(stride, '\0');
        for (int x = 0; x < width; ++x) {
            const int dx = x - width / 2;
            const int dy = y - height / 2;
            const bool disc = dx * dx + dy * dy < 24 * 24;
            const bool hub = dx * dx + dy * dy < 6 * 6;
            const int shade = 230 - y / 2;
            row[x * 3 + 0] = char(hub ? 40 : disc ? b : shade);
            row[x * 3 + 1] = char(hub ? 40 : disc ? g : shade);
            row[x * 3 + 2] = char(hub ? 40 : disc ? r : shade);
        }
        out.append(row);
    }
    return out;
}

QByteArray note(const QString &name)
{
    return QStringLiteral("样品技术要求\n\n产品：%1\n1. 外观无磕碰、无锈蚀，涂层均匀。\n2. 出厂前做水压试验，"
                          "试验压力为工作压力的1.5倍，保压5分钟无渗漏。\n3. 随样品提供材质证明和检验报告。\n")
        .arg(name)
        .toUtf8();
}

} // namespace

Result<void> writeDemoAttachments(Connection &cnn, const QList<QPair<int, QString>> &vouchers)
{
    const QString sql
        = QStringLiteral("INSERT INTO OR_VN_fileTable (iAutoID, fileNames, fileType, fileSize, fileExtension, "
                         "fileStream) VALUES (?, ?, ?, ?, ?, ?)");
    for (int k = 0; k < vouchers.size(); ++k) {
        const auto &[id, name] = vouchers.at(k);
        const QByteArray picture = drawing(id);
        auto done = cnn.Execute(sql, {id, QStringLiteral("样品外观图.bmp"), 1, fileSizeText(picture.size()),
                                      QStringLiteral("BMP"), picture});
        if (done && k % 2 == 0) {
            const QByteArray text = note(name);
            done = cnn.Execute(sql, {id, QStringLiteral("技术要求说明.txt"), 2, fileSizeText(text.size()),
                                     QStringLiteral("TXT"), text});
        }
        if (!done)
            return fail(done.error());
    }
    return {};
}
