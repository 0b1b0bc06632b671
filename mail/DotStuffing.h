#pragma once
// SMTP ends the message data at a line holding a single ".", so every line of the data that begins
// with "." gets one more in front; the receiving server removes it again.
#include <string>
#include <string_view>

// `text` is CR LF separated; every line start (the first byte and each byte after a LF) is looked at,
// whatever part of the message the line belongs to (body, quoted-printable piece, attachment).
std::string DotStuff(std::string_view text);
