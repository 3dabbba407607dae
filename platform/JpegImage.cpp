#include "platform/JpegImage.h"

#include <QFile>
#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

namespace {

struct TJpegError
{
    jpeg_error_mgr Manager;
    std::jmp_buf Jump;
};

// The library's own error exit ends the process; ours returns to the decoder instead.
[[noreturn]] void ErrorExit(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<TJpegError *>(info->err)->Jump, 1);
}

void IgnoreMessage(j_common_ptr) { }

// Decodes into *image. Everything that changes after setjmp lives behind the pointers, so a
// jump back leaves nothing in an undefined state.
bool Decode(jpeg_decompress_struct *info, TJpegError *error, const QByteArray *bytes, QImage *image)
{
    if (setjmp(error->Jump))
        return false;
    jpeg_mem_src(info, reinterpret_cast<const unsigned char *>(bytes->constData()),
                 static_cast<unsigned long>(bytes->size()));
    if (jpeg_read_header(info, TRUE) != JPEG_HEADER_OK)
        return false;
    info->out_color_space = JCS_RGB;
    if (!jpeg_start_decompress(info))
        return false;
    *image = QImage(static_cast<int>(info->output_width), static_cast<int>(info->output_height),
                    QImage::Format_RGB888);
    if (image->isNull())
        return false;
    while (info->output_scanline < info->output_height) {
        JSAMPROW row = image->scanLine(static_cast<int>(info->output_scanline));
        if (jpeg_read_scanlines(info, &row, 1) != 1)
            return false;
    }
    jpeg_finish_decompress(info);
    return true;
}

} // namespace

QImage DecodeJpeg(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return QImage();
    jpeg_decompress_struct info{};
    TJpegError error{};
    info.err = jpeg_std_error(&error.Manager);
    error.Manager.error_exit = ErrorExit;
    error.Manager.output_message = IgnoreMessage;
    jpeg_create_decompress(&info);
    QImage image;
    const bool ok = Decode(&info, &error, &bytes, &image);
    jpeg_destroy_decompress(&info);
    return ok ? image : QImage();
}

QImage LoadJpegFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QImage();
    return DecodeJpeg(file.readAll());
}
