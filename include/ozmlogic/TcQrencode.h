// Client framework: QR code image of a text.
#pragma once

#include <QImage>
#include <QString>

class TcQrencode {
public:
    // The QR code of text (UTF-8, error correction level M) as a black-on-white image:
    // moduleSize pixels per module (at least 1) and a quiet zone of four modules.
    // A null image when the text cannot be encoded.
    static QImage encodeImage(const QString& text, int moduleSize);
};
