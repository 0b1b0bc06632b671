#pragma once
// The library's root exception and the assertion used for programming errors.
//
// An EBrantel's text reads "Class.Operation: technical". Code that catches one only to say where it
// passed appends " <Class.Operation detail>" (AddContext) and rethrows, so the message shown at the
// top names the whole chain of operations.
#include <exception>
#include <string>

class EBrantel : public std::exception {
public:
    EBrantel(std::string className, std::string operation, std::string technicalMessage,
             std::string userMessage = {});
    // A failure that only has a text of its own (no class and operation to name).
    explicit EBrantel(std::string message);

    const std::string& ClassName() const { return FClassName; }
    const std::string& Operation() const { return FOperation; }
    const std::string& TechnicalMessage() const { return FTechnicalMessage; }
    // The Dutch text for the user; falls back to the technical message when none was given.
    const std::string& UserMessage() const;
    const std::string& Message() const { return FMessage; }
    const char* what() const noexcept override { return FMessage.c_str(); }

    // Appends " <Class.Operation detail>" (no blank before '>' when detail is empty).
    void AddContext(const std::string& className, const std::string& operation,
                    const std::string& detail = {});
    void SetMessage(std::string message) { FMessage = std::move(message); }

private:
    std::string FClassName, FOperation, FTechnicalMessage, FUserMessage, FMessage;
};

// A failed assertion: a programming error, never a user message. Its text is the assertion's
// message followed by the source unit in parentheses, e.g. "Assertion failure (Source\Common\TechInfo)".
class EBranAssertion : public EBrantel {
public:
    EBranAssertion(std::string message, std::string sourceUnit);
    const std::string& AssertMessage() const { return FAssertMessage; }
    const std::string& SourceUnit() const { return FSourceUnit; }

private:
    std::string FAssertMessage, FSourceUnit;
};

// Throws EBranAssertion when the condition does not hold.
inline void BranAssert(bool condition, const char* message, const char* sourceUnit) {
    if (!condition) throw EBranAssertion(message, sourceUnit);
}

// Runs `action` and answers true; answers false when it failed with one of the program's own
// failures (an EBrantel: "not possible here and now"). Programming errors (EBranAssertion) and
// anything else (std::bad_alloc) pass on: they never mean "not available".
template <class TAction>
bool Attempt(TAction&& action) {
    try {
        action();
        return true;
    } catch (const EBranAssertion&) {
        throw;
    } catch (const EBrantel&) {
        return false;
    }
}

// Text of any exception for a message box: EBrantel's message; for anything else a Dutch sentence
// (running out of memory has its own), never the library's internal text.
std::string ExceptionText(const std::exception& e);
