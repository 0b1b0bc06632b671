#include "Source/Common/Internet/WebForm.h"

#include "Source/Common/Catalogue/Deployment.h"
#include "Source/Common/Internet/DownloadForm.h"
#include "core/Exceptions.h"
#include "core/StrConv.h"
#include "platform/Files.h"
#include "platform/IniFile.h"
#include "platform/RegistryValues.h"

namespace {
const char* const ServiceKey = "Software\\Brantel\\Shared\\Service";

bool SentAsItIs(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '*' || c == '-' ||
           c == '.' || c == '_';
}

void AppendField(std::string& url, const char* separator, const std::string& key, const std::string& value) {
    url += separator;
    url += EncodeFormValue(key);
    url += '=';
    url += EncodeFormValue(value);
}
}  // namespace

std::string EncodeFormValue(const std::string& text) {
    static const char hex[] = "0123456789ABCDEF";
    std::string encoded;
    for (unsigned char c : Utf8ToAnsi(text)) {
        if (SentAsItIs(c)) {
            encoded += static_cast<char>(c);
        } else if (c == ' ') {
            encoded += '+';
        } else {
            encoded += '%';
            encoded += hex[c >> 4];
            encoded += hex[c & 15];
        }
    }
    return encoded;
}

std::string WebFormUrl(const TWebFormRequest& request) {
    const std::string version = ReadStringOrEmpty(HKEY_LOCAL_MACHINE, ServiceKey, "CurrentVersion");
    const std::string language =
        ReadStringOrEmpty(HKEY_LOCAL_MACHINE, std::string(ServiceKey) + "\\" + version, "CurrentLanguage");
    std::string url = WebFormScriptAddress();
    AppendField(url, "?", "Action", request.Action);
    AppendField(url, "&", "Name", request.Name);
    AppendField(url, "&", "EmailOld", request.EmailOld);
    AppendField(url, "&", "EmailNew", request.EmailNew);
    for (const std::string& category : request.Categories) AppendField(url, "&", category, "1");
    AppendField(url, "&", "Id", "BranService");
    AppendField(url, "&", "Version", version);
    AppendField(url, "&", "Language", language);
    return url;
}

bool ReadFormResult(const std::string& resultFile) {
    const bool succeeded = TIniFile(resultFile).ReadInteger("e-nieuws", "geslaagd", 0) != 0;
    FileDelete(resultFile);
    return succeeded;
}

bool PostWebForm(const std::string& programPath, const TWebFormRequest& request, const std::string& caption) {
    const std::string resultFile = ExtractFilePath(programPath) + "Script.ini";
    bool succeeded = false;
    // A request that cannot even be made (no folder for the answer) is a failure like any other.
    Attempt([&] {
        succeeded = DownloadFile(DownloadFormClass<TfrmEnewsDownload>(), caption, WebFormUrl(request), resultFile) &&
                    ReadFormResult(resultFile);
    });
    return succeeded;
}
