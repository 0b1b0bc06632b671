#include "core/Exceptions.h"

#include <new>

EBrantel::EBrantel(std::string className, std::string operation, std::string technicalMessage,
                   std::string userMessage)
    : FClassName(std::move(className)),
      FOperation(std::move(operation)),
      FTechnicalMessage(std::move(technicalMessage)),
      FUserMessage(std::move(userMessage)) {
    FMessage = FClassName + "." + FOperation + ": " + FTechnicalMessage;
}

EBrantel::EBrantel(std::string message)
    : FTechnicalMessage(message), FMessage(std::move(message)) {}

const std::string& EBrantel::UserMessage() const {
    return FUserMessage.empty() ? FTechnicalMessage : FUserMessage;
}

void EBrantel::AddContext(const std::string& className, const std::string& operation,
                          const std::string& detail) {
    FMessage += " <" + className + "." + operation;
    if (!detail.empty()) FMessage += " " + detail;
    FMessage += ">";
}

EBranAssertion::EBranAssertion(std::string message, std::string sourceUnit)
    : EBrantel(message + " (" + sourceUnit + ")"),
      FAssertMessage(std::move(message)),
      FSourceUnit(std::move(sourceUnit)) {}

std::string ExceptionText(const std::exception& e) {
    if (auto* b = dynamic_cast<const EBrantel*>(&e)) return b->Message();
    // What the C++ library says ("std::bad_alloc", "basic_string::substr") means nothing to a user.
    if (dynamic_cast<const std::bad_alloc*>(&e))
        return "Er is niet genoeg geheugen vrij om dit af te maken. Sluit andere programma's en probeer het opnieuw.";
    return "Er is een onverwachte fout opgetreden in het programma.";
}
