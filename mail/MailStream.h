#pragma once
// The byte streams of the mail transport. A message is written into a sink by the encoder and flows
// through filters (SMTP's dot transparency, blocks of MailBlockSize bytes) into the connection;
// attachments are read from a source block by block. Nothing holds a whole message or attachment,
// so memory stays the same whatever their size. A layer that encrypts the connection sits between
// the blocks and the socket as one more sink.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Handles.h"

// What goes to the server at a time: large enough that a message goes out in few sends, small enough
// that sending costs no memory worth mentioning.
inline constexpr size_t MailBlockSize = 64 * 1024;

class TMailSink {
public:
    virtual ~TMailSink() = default;
    virtual void Write(std::string_view bytes) = 0;
};

class TStringSink : public TMailSink {
public:
    void Write(std::string_view bytes) override { FText.append(bytes); }
    const std::string& Text() const { return FText; }

private:
    std::string FText;
};

// Counts what passes (the size of a message without keeping it).
class TCountingSink : public TMailSink {
public:
    void Write(std::string_view bytes) override { FCount += bytes.size(); }
    uint64_t Count() const { return FCount; }

private:
    uint64_t FCount = 0;
};

// Gathers the bytes into blocks and hands each full block on; Flush hands on the rest.
class TBlockSink : public TMailSink {
public:
    TBlockSink(TMailSink& next, size_t blockSize);
    void Write(std::string_view bytes) override;
    void Flush();
    // After each block handed on, with the bytes handed on so far.
    std::function<void(uint64_t passed)> OnBlock;

private:
    void Pass();
    TMailSink& FNext;
    size_t FBlockSize;
    std::string FBlock;
    uint64_t FPassed = 0;
};

class TMailSource {
public:
    virtual ~TMailSource() = default;
    // Up to `size` bytes into buffer; 0 only at the end.
    virtual size_t Read(char* buffer, size_t size) = 0;
};

class TStringSource : public TMailSource {
public:
    explicit TStringSource(std::string_view bytes) : FBytes(bytes) {}
    size_t Read(char* buffer, size_t size) override;

private:
    std::string_view FBytes;
};

// A file read from its start. Throws EBrantel when it cannot be opened or a read fails.
class TFileSource : public TMailSource {
public:
    explicit TFileSource(const std::string& path);
    size_t Read(char* buffer, size_t size) override;
    uint64_t Size() const { return FSize; }

private:
    std::string FPath;
    TKernelHandle FFile;
    uint64_t FSize = 0;
};

// The lines of CR LF separated text, without their CR LF.
std::vector<std::string> WireLines(std::string_view text);

// Fills the buffer as far as the source goes: less than `size` only at the end.
size_t ReadFull(TMailSource& source, char* buffer, size_t size);

// Lines of a source split at CR, LF, CR LF or LF CR (a pair of different line-end characters is one
// line end); a last line without a line end counts too.
class TLineReader {
public:
    // A line longer than maxLength throws EMessageError "Paragraph is too large".
    TLineReader(TMailSource& source, size_t maxLength);
    bool Next(std::string& line);

private:
    bool Fill();
    TMailSource& FSource;
    size_t FMaxLength;
    std::string FBuffer;
    size_t FPos = 0;
    bool FEnd = false;
};
