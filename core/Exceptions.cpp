#include "core/Exceptions.h"

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
    return e.what();
}
