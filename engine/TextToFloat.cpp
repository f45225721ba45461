#include "TextToFloat.h"

#include "Messages.h"
#include "NumberText.h"

double TextToFloat(const std::string& text)
{
    double value = 0;
    if (!ParseNumber(TrimView(text), value))
        throw EConvertError("'" + text + "' is not a valid floating point value");
    return value;
}
