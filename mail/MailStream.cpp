#include "mail/MailStream.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "core/Exceptions.h"
#include "core/StrConv.h"
#include "mail/MailErrors.h"

TBlockSink::TBlockSink(TMailSink& next, size_t blockSize) : FNext(next), FBlockSize(blockSize) {
    FBlock.reserve(blockSize);
}

void TBlockSink::Write(std::string_view bytes) {
    while (!bytes.empty()) {
        size_t n = std::min(bytes.size(), FBlockSize - FBlock.size());
        FBlock.append(bytes.substr(0, n));
        bytes.remove_prefix(n);
        if (FBlock.size() == FBlockSize) Pass();
    }
}

void TBlockSink::Flush() {
    if (!FBlock.empty()) Pass();
}

void TBlockSink::Pass() {
    FNext.Write(FBlock);
    FPassed += FBlock.size();
    FBlock.clear();
    if (OnBlock) OnBlock(FPassed);
}

size_t TStringSource::Read(char* buffer, size_t size) {
    size_t n = std::min(size, FBytes.size());
    memcpy(buffer, FBytes.data(), n);
    FBytes.remove_prefix(n);
    return n;
}

TFileSource::TFileSource(const std::string& path) : FPath(path) {
    FFile.Reset(CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    LARGE_INTEGER size;
    if (!FFile || !GetFileSizeEx(FFile.Get(), &size))
        throw EBrantel("TFileSource", "Create", path + ": error " + std::to_string(GetLastError()));
    FSize = static_cast<uint64_t>(size.QuadPart);
}

size_t TFileSource::Read(char* buffer, size_t size) {
    DWORD read = 0;
    if (!ReadFile(FFile.Get(), buffer, static_cast<DWORD>(std::min<size_t>(size, 1u << 30)), &read, nullptr))
        throw EBrantel("TFileSource", "Read", FPath + ": error " + std::to_string(GetLastError()));
    return read;
}

std::vector<std::string> WireLines(std::string_view text) {
    std::vector<std::string> lines;
    for (size_t end; (end = text.find("\r\n")) != std::string_view::npos; text.remove_prefix(end + 2))
        lines.emplace_back(text.substr(0, end));
    return lines;
}

size_t ReadFull(TMailSource& source, char* buffer, size_t size) {
    size_t done = 0;
    while (done < size) {
        size_t n = source.Read(buffer + done, size - done);
        if (n == 0) break;
        done += n;
    }
    return done;
}

TLineReader::TLineReader(TMailSource& source, size_t maxLength) : FSource(source), FMaxLength(maxLength) {}

bool TLineReader::Next(std::string& line) {
    for (;;) {
        size_t end = FBuffer.find_first_of("\r\n", FPos);
        size_t length = (end == std::string::npos ? FBuffer.size() : end) - FPos;
        if (length > FMaxLength) throw EMessageError(MailText::ParagraphTooLarge);
        // The line end may be the first of a pair that goes on in the next read.
        if ((end == std::string::npos || end + 1 == FBuffer.size()) && Fill()) continue;
        if (end == std::string::npos) {
            if (FPos == FBuffer.size()) return false;
            line.assign(FBuffer, FPos, length);
            FPos = FBuffer.size();
            return true;
        }
        line.assign(FBuffer, FPos, length);
        size_t next = end + 1;
        if (next < FBuffer.size() && (FBuffer[next] == '\r' || FBuffer[next] == '\n') && FBuffer[next] != FBuffer[end])
            ++next;
        FPos = next;
        return true;
    }
}

bool TLineReader::Fill() {
    if (FEnd) return false;
    FBuffer.erase(0, FPos);
    FPos = 0;
    char chunk[8192];
    size_t n = FSource.Read(chunk, sizeof chunk);
    if (n == 0) {
        FEnd = true;
        return false;
    }
    FBuffer.append(chunk, n);
    return true;
}
