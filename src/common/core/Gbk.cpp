#include "common/core/Gbk.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <functional>
#include <stdexcept>
#include <string>

namespace talvor {

namespace {

// How to step over an input sequence the target cannot take: bytes to skip, text to emit.
struct Replacement {
    std::function<size_t(unsigned char lead)> skip;
    QByteArray text;
};

class Iconv {
  public:
    Iconv(const char* to, const char* from) : handle_(iconv_open(to, from)) {
        if (handle_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
    }
    ~Iconv() { iconv_close(handle_); }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    QByteArray convert(const QByteArray& input, const Replacement& replacement) {
        QByteArray output;
        char* in = const_cast<char*>(input.constData());
        size_t inLeft = size_t(input.size());
        char buffer[4096];
        while (inLeft > 0) {
            char* out = buffer;
            size_t outLeft = sizeof buffer;
            const size_t result = iconv(handle_, &in, &inLeft, &out, &outLeft);
            output.append(buffer, out - buffer);
            if (result != size_t(-1) || errno == E2BIG) continue;
            // EILSEQ or an incomplete sequence at the end.
            const size_t skipped = std::min(inLeft, replacement.skip(uchar(*in)));
            in += skipped;
            inLeft -= skipped;
            output.append(replacement.text);
        }
        return output;
    }

  private:
    iconv_t handle_;
};

size_t utf8Length(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    return 4;
}

}  // namespace

QByteArray toGbk(const QString& text) {
    Iconv iconv("GBK", "UTF-8");
    return iconv.convert(text.toUtf8(), {utf8Length, QByteArrayLiteral("?")});
}

QString fromGbk(const QByteArray& bytes) {
    Iconv iconv("UTF-8", "GBK");
    const auto oneByte = [](unsigned char) { return size_t(1); };
    return QString::fromUtf8(iconv.convert(bytes, {oneByte, QByteArrayLiteral("\xEF\xBF\xBD")}));
}

}  // namespace talvor
