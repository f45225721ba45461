#pragma once
// The error of a late-bound automation call (the EOleException of COM): an
// unknown member, a wrong argument, a failed conversion of a variant, or a
// failure reported by the automation server itself. It carries its own text,
// which the default error report shows as it stands.

#include <string>

#include "Messages.h"

class EAutoError : public EVelkError
{
public:
    explicit EAutoError(const std::string& text) : EVelkError(text) {}
    // source names the server or object that raised it (for instance
    // "Excel.Application"); it is kept apart so the text stays the user's.
    EAutoError(std::string source, const std::string& text) : EVelkError(text), source_(std::move(source)) {}
    const std::string& Source() const { return source_; }

private:
    std::string source_;
};
