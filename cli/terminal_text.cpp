// GBK to UTF-8 through iconv, and the display width of UTF-8.
#include "cli/terminal_text.h"

#include <iconv.h>

#include <cerrno>

namespace {

// The converter of the thread, opened at its first use and closed at its end: opening one costs
// more than converting a line. Null when iconv has no GBK: then every byte that is not ASCII
// becomes U+FFFD, so no GBK byte ever reaches UTF-8 output.
class GbkDecoder {
public:
    GbkDecoder() : cd_(iconv_open("UTF-8", "GBK")), openError_(Ready() ? 0 : errno) {}
    ~GbkDecoder() {
        if (Ready()) iconv_close(cd_);
    }
    GbkDecoder(const GbkDecoder&) = delete;
    GbkDecoder& operator=(const GbkDecoder&) = delete;

    bool Ready() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    int OpenError() const { return openError_; }

    void Append(const char* gbk, size_t n, std::string* out) {
        if (!Ready()) {
            for (size_t i = 0; i < n; ++i)
                if (static_cast<unsigned char>(gbk[i]) < 0x80) out->push_back(gbk[i]);
                else out->append("\xEF\xBF\xBD");
            return;
        }
        char buffer[256];
        char* in = const_cast<char*>(gbk);
        size_t inLeft = n;
        while (inLeft > 0) {
            char* dst = buffer;
            size_t dstLeft = sizeof buffer;
            const size_t rc = iconv(cd_, &in, &inLeft, &dst, &dstLeft);
            out->append(buffer, static_cast<size_t>(dst - buffer));
            if (rc == static_cast<size_t>(-1) && errno != E2BIG) {
                out->append("\xEF\xBF\xBD");  // U+FFFD for a byte that is not GBK
                ++in;
                --inLeft;
                iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
            }
        }
    }

private:
    iconv_t cd_;
    int openError_;  // errno of iconv_open when it failed
};

GbkDecoder& ThreadDecoder() {
    thread_local GbkDecoder decoder;
    return decoder;
}

}  // namespace

bool GbkConverterReady(int* reason) {
    const int savedErrno = errno;
    GbkDecoder& decoder = ThreadDecoder();
    errno = savedErrno;
    *reason = decoder.OpenError();
    return decoder.Ready();
}

void AppendGbkAsUtf8(const char* gbk, size_t n, std::string* out) {
    const int savedErrno = errno;  // iconv's E2BIG is no news for the caller
    ThreadDecoder().Append(gbk, n, out);
    errno = savedErrno;
}

std::string GbkToUtf8(const std::string& gbk) {
    std::string out;
    out.reserve(gbk.size() + gbk.size() / 2);
    AppendGbkAsUtf8(gbk.data(), gbk.size(), &out);
    return out;
}

GbkForm Utf8ToGbk(const std::string& utf8, std::string* gbk) {
    const int savedErrno = errno;
    gbk->clear();
    // Opened for each call: a run converts one argument at most.
    const iconv_t cd = iconv_open("GBK", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        errno = savedErrno;
        return GbkForm::NoConverter;
    }
    char buffer[256];
    char* in = const_cast<char*>(utf8.data());
    size_t inLeft = utf8.size();
    GbkForm form = GbkForm::Made;
    while (inLeft > 0) {
        char* dst = buffer;
        size_t dstLeft = sizeof buffer;
        const size_t rc = iconv(cd, &in, &inLeft, &dst, &dstLeft);
        gbk->append(buffer, static_cast<size_t>(dst - buffer));
        // EILSEQ: not UTF-8 or not in GBK; EINVAL: a character cut off at the end.
        if (rc == static_cast<size_t>(-1) && errno != E2BIG) {
            form = GbkForm::None;
            gbk->clear();
            break;
        }
    }
    iconv_close(cd);
    errno = savedErrno;
    return form;
}

int DisplayWidth(const std::string& utf8) {
    int width = 0;
    for (size_t i = 0; i < utf8.size();) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            ++width;
            ++i;
            continue;
        }
        unsigned cp;
        int len;
        if ((c & 0xE0) == 0xC0) { cp = c & 0x1F; len = 2; }
        else if ((c & 0xF0) == 0xE0) { cp = c & 0x0F; len = 3; }
        else { cp = c & 0x07; len = 4; }
        for (int k = 1; k < len && i + k < utf8.size(); ++k) cp = (cp << 6) | (utf8[i + k] & 0x3F);
        i += len;
        // Wide: CJK, Hangul, fullwidth forms and CJK punctuation (【】－ among them).
        const bool wide = (cp >= 0x1100 && cp <= 0x115F) || (cp >= 0x2E80 && cp <= 0xA4CF) ||
                          (cp >= 0xAC00 && cp <= 0xD7A3) || (cp >= 0xF900 && cp <= 0xFAFF) ||
                          (cp >= 0xFE30 && cp <= 0xFE4F) || (cp >= 0xFF00 && cp <= 0xFF60) ||
                          (cp >= 0xFFE0 && cp <= 0xFFE6) || cp >= 0x20000;
        width += wide ? 2 : 1;
    }
    return width;
}
