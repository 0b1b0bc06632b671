#pragma once
// SMTP ends the message data at a line holding a single ".", so every line of the data that begins
// with "." gets one more in front; the receiving server removes it again.
#include <string>
#include <string_view>

#include "mail/MailStream.h"

// Adds the dots to CR LF separated text on its way to the next sink. Every line start (the first byte
// and each byte after a LF) is looked at, whatever part of the message the line belongs to (body,
// quoted-printable piece, attachment), also where a line is written in several pieces.
class TDotStuffingSink : public TMailSink {
public:
    explicit TDotStuffingSink(TMailSink& next) : FNext(next) {}
    void Write(std::string_view bytes) override;

private:
    TMailSink& FNext;
    bool FLineStart = true;
};

// The same for text as a whole.
std::string DotStuff(std::string_view text);
