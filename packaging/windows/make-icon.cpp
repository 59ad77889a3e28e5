// Renders the program's SVG icon into the sizes Windows shows and packs them
// as one .ico (PNG entries): make-icon SVG ICO.
#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QtEndian>
#include <vector>

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    if (argc != 3) return 2;
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    if (!svg.isValid()) return 1;
    std::vector<QByteArray> pngs;
    const int sizes[] = {16, 24, 32, 48, 64, 256};
    for (const int size : sizes) {
        QImage image(size, size, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        svg.render(&painter);
        painter.end();
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        pngs.push_back(png);
    }
    QByteArray ico;
    const auto put16 = [&](quint16 v) { ico.append(char(v & 0xFF)).append(char(v >> 8)); };
    const auto put32 = [&](quint32 v) {
        put16(quint16(v & 0xFFFF));
        put16(quint16(v >> 16));
    };
    put16(0);
    put16(1);
    put16(quint16(pngs.size()));
    quint32 offset = 6 + 16 * quint32(pngs.size());
    for (std::size_t i = 0; i < pngs.size(); ++i) {
        const int size = sizes[i];
        ico.append(char(size >= 256 ? 0 : size)).append(char(size >= 256 ? 0 : size));
        ico.append(char(0)).append(char(0));
        put16(1);
        put16(32);
        put32(quint32(pngs[i].size()));
        put32(offset);
        offset += quint32(pngs[i].size());
    }
    for (const QByteArray& png : pngs) ico.append(png);
    QFile out(QString::fromLocal8Bit(argv[2]));
    if (!out.open(QIODevice::WriteOnly)) return 1;
    return out.write(ico) == ico.size() ? 0 : 1;
}
