#include "files/cp932_codec.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>

#include <memory>

namespace {

struct ConverterCloser {
    void operator()(UConverter *c) const { ucnv_close(c); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

ConverterPtr openConverter()
{
    UErrorCode err = U_ZERO_ERROR;
    ConverterPtr conv(ucnv_open("windows-31j", &err));
    if (U_FAILURE(err))
        qFatal("ICU has no windows-31j converter: %s", u_errorName(err));
    return conv;
}

// One converter per thread and direction, opened once: opening costs more
// than converting a typical field.
UConverter *decoder()
{
    thread_local ConverterPtr conv = openConverter();
    return conv.get();
}

UConverter *encoder()
{
    thread_local ConverterPtr conv = [] {
        ConverterPtr c = openConverter();
        UErrorCode err = U_ZERO_ERROR;
        // Stop at the first character without a code: the default callback
        // would write 0xFCFC in its place without a word.
        ucnv_setFromUCallBack(c.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &err);
        return c;
    }();
    return conv.get();
}

// Invalid or unassigned byte sequences become U+FFFD and are counted.
void countingSubstitute(const void *context, UConverterToUnicodeArgs *args,
                        const char *, int32_t, UConverterCallbackReason reason, UErrorCode *err)
{
    if (reason > UCNV_IRREGULAR)
        return;     // reset, close, clone: nothing to do
    *err = U_ZERO_ERROR;
    static const UChar replacement = 0xFFFD;
    ucnv_cbToUWriteUChars(args, &replacement, 1, 0, err);
    ++*static_cast<int *>(const_cast<void *>(context));
}

} // namespace

DecodedText DecodeCp932(QByteArrayView bytes)
{
    DecodedText result;
    if (bytes.isEmpty())
        return result;

    UConverter *conv = decoder();
    ucnv_reset(conv);
    UErrorCode err = U_ZERO_ERROR;
    ucnv_setToUCallBack(conv, countingSubstitute, &result.invalidSequences, nullptr, nullptr, &err);

    // CP932 never yields more UTF-16 units than it has bytes.
    result.text.resize(bytes.size());
    UChar *target = reinterpret_cast<UChar *>(result.text.data());
    UChar *const targetStart = target;
    const char *source = bytes.data();
    err = U_ZERO_ERROR;
    ucnv_toUnicode(conv, &target, targetStart + result.text.size(), &source,
                   bytes.data() + bytes.size(), nullptr, /*flush*/ true, &err);
    Q_ASSERT(U_SUCCESS(err));
    result.text.truncate(target - targetStart);
    return result;
}

char16_t Cp932FormOf(char16_t c)
{
    switch (c) {
    case 0x301C: return 0xFF5E;   // wave dash → full-width tilde (0x8160)
    case 0x2016: return 0x2225;   // double vertical line → parallel to (0x8161)
    case 0x2212: return 0xFF0D;   // minus sign → full-width hyphen-minus (0x817C)
    case 0x2014: return 0x2015;   // em dash → horizontal bar (0x815C)
    case 0x00A2: return 0xFFE0;   // cent (0x8191)
    case 0x00A3: return 0xFFE1;   // pound (0x8192)
    case 0x00AC: return 0xFFE2;   // not sign (0x81CA)
    default: return c;
    }
}

namespace {
// Every character Cp932FormOf changes lies in U+00A2..U+301C.
inline bool mayFold(char16_t u)
{
    return u >= 0xA2 && u <= 0x301C && (u <= 0xAC || u >= 0x2014);
}
} // namespace

bool FoldToCp932Forms(QString &text)
{
    bool changed = false;
    const QChar *begin = text.constData();
    const QChar *end = begin + text.size();
    for (const QChar *p = begin; p != end; ++p) {
        const char16_t u = p->unicode();
        if (mayFold(u) && Cp932FormOf(u) != u) {
            // Detach only when something is to be replaced.
            QChar *data = text.data();
            for (qsizetype i = p - begin; i < text.size(); ++i) {
                if (mayFold(data[i].unicode()))
                    data[i] = QChar(Cp932FormOf(data[i].unicode()));
            }
            changed = true;
            break;
        }
    }
    return changed;
}

EncodedText EncodeCp932(QStringView text)
{
    EncodedText result;
    if (text.isEmpty())
        return result;

    UConverter *conv = encoder();
    ucnv_reset(conv);
    result.bytes.resize(text.size() * 2);
    char *target = result.bytes.data();
    const UChar *source = reinterpret_cast<const UChar *>(text.utf16());
    const UChar *const sourceStart = source;
    UErrorCode err = U_ZERO_ERROR;
    ucnv_fromUnicode(conv, &target, result.bytes.data() + result.bytes.size(), &source,
                     sourceStart + text.size(), nullptr, /*flush*/ true, &err);
    if (U_FAILURE(err)) {
        // The source pointer stands after the offending unit(s); find where
        // that character starts.
        char16_t bad[32];
        int8_t badLength = 32;
        UErrorCode e2 = U_ZERO_ERROR;
        ucnv_getInvalidUChars(conv, reinterpret_cast<UChar *>(bad), &badLength, &e2);
        qsizetype at = (source - sourceStart) - (U_SUCCESS(e2) ? badLength : 1);
        result.failedAt = qBound<qsizetype>(0, at, text.size() - 1);
        result.bytes.clear();
        return result;
    }
    result.bytes.truncate(target - result.bytes.data());
    return result;
}

char32_t CodePointAt(QStringView text, qsizetype offset)
{
    if (offset < 0 || offset >= text.size())
        return 0;
    const QChar c = text.at(offset);
    if (c.isHighSurrogate() && offset + 1 < text.size() && text.at(offset + 1).isLowSurrogate())
        return QChar::surrogateToUcs4(c, text.at(offset + 1));
    return c.unicode();
}
