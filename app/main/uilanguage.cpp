#include "uilanguage.h"

namespace UiLanguage {

namespace {
int current = Chinese;
}

int code()
{
    return current;
}

void setCode(int code)
{
    current = code;
}

} // namespace UiLanguage
