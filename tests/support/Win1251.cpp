#include "Win1251.h"

#include <iconv.h>

#include <cstring>
#include <stdexcept>

AnsiString Win1251(const char* utf8)
{
    iconv_t cd = iconv_open("CP1251", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error("iconv has no CP1251");
    AnsiString out(std::strlen(utf8), '\0');
    char* in = const_cast<char*>(utf8);
    size_t inLeft = std::strlen(utf8);
    char* outPtr = out.data();
    size_t outLeft = out.size();
    const size_t done = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (done == static_cast<size_t>(-1))
        throw std::runtime_error(std::string("not convertible to CP1251: ") + utf8);
    out.resize(out.size() - outLeft);
    return out;
}
