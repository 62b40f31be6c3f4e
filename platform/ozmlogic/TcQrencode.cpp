#include "ozmlogic/TcQrencode.h"

#include <qrencode.h>

#include <QPainter>
#include <memory>

namespace {

constexpr int kQuietZone = 4;

struct QrDeleter {
    void operator()(QRcode* code) const { QRcode_free(code); }
};

} // namespace

QImage TcQrencode::encodeImage(const QString& text, int moduleSize) {
    const QByteArray utf8 = text.toUtf8();
    std::unique_ptr<QRcode, QrDeleter> code(
        QRcode_encodeString(utf8.constData(), 0, QR_ECLEVEL_M, QR_MODE_8, 1));
    if (!code) {
        return QImage();
    }
    const int scale = moduleSize < 1 ? 1 : moduleSize;
    const int modules = code->width;
    const int side = (modules + 2 * kQuietZone) * scale;
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    for (int y = 0; y < modules; ++y) {
        for (int x = 0; x < modules; ++x) {
            if (code->data[y * modules + x] & 1) {
                painter.drawRect((x + kQuietZone) * scale, (y + kQuietZone) * scale, scale, scale);
            }
        }
    }
    return image;
}
