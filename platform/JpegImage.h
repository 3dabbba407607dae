#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// JPEG pictures of the windows, decoded at full size. A picture that is missing or cannot be
// decoded gives a null image.
QImage DecodeJpeg(const QByteArray &bytes);
QImage LoadJpegFile(const QString &path);
