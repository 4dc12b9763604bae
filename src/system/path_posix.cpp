#include "system/native.h"

namespace tess {

namespace {

// A stray byte's stand-in: a low surrogate with no high one before it. The
// same unit after a high surrogate is half of a real character (U+1F4BE ends
// in U+DCBE).
bool is_escape(const QString &text, int i)
{
    const ushort c = text.at(i).unicode();
    return c >= 0xDC80 && c <= 0xDCFF && (i == 0 || !text.at(i - 1).isHighSurrogate());
}

}  // namespace

QString decode_local(const QByteArray &bytes) { return decode_path(bytes.constData(), bytes.size()); }

QByteArray encode_local(const QString &text) { return encode_path(text); }

QString decode_path(const char *bytes, int size)
{
    const auto *b = reinterpret_cast<const uchar *>(bytes);
    QString text;
    text.reserve(size);
    for (int i = 0; i < size;) {
        const uchar c = b[i];
        if (c < 0x80) {
            text += QLatin1Char(char(c));
            ++i;
            continue;
        }
        // The sequence's length, and the range of its second byte that rules
        // out overlong forms, surrogates and code points past U+10FFFF.
        int length = 0;
        uchar low = 0x80, high = 0xBF;
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            low = c == 0xE0 ? 0xA0 : low;
            high = c == 0xED ? 0x9F : high;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            low = c == 0xF0 ? 0x90 : low;
            high = c == 0xF4 ? 0x8F : high;
        }
        bool valid = length > 0 && i + length <= size && b[i + 1] >= low && b[i + 1] <= high;
        for (int k = 2; valid && k < length; ++k)
            valid = (b[i + k] & 0xC0) == 0x80;
        if (!valid) {
            text += QChar(ushort(0xDC00 + c));
            ++i;
            continue;
        }
        uint code = c & (0x7Fu >> length);
        for (int k = 1; k < length; ++k)
            code = (code << 6) | (b[i + k] & 0x3Fu);
        if (QChar::requiresSurrogates(code)) {
            text += QChar(QChar::highSurrogate(code));
            text += QChar(QChar::lowSurrogate(code));
        } else {
            text += QChar(code);
        }
        i += length;
    }
    return text;
}

QByteArray encode_path(const QString &text)
{
    QByteArray bytes;
    int run = 0;  // start of the run of ordinary text not yet encoded
    for (int i = 0; i < text.size(); ++i) {
        if (!is_escape(text, i))
            continue;
        bytes += text.midRef(run, i - run).toUtf8();
        bytes += char(text.at(i).unicode() - 0xDC00);
        run = i + 1;
    }
    return run == 0 ? text.toUtf8() : bytes + text.midRef(run).toUtf8();
}

NativeName native_name(const QString &path) { return encode_path(path); }

}  // namespace tess
