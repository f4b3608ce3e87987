#include "core/UpdateRules.h"

#include "core/ActionRules.h"

std::u16string UpdateAnswerFile(const std::u16string& tempFolder) {
    return tempFolder + u"\\corvalendupdate.tmp";
}

std::u16string UpdateQueryAddress(std::u16string_view host, uint32_t version) {
    std::u16string address = u"http://";
    address.append(host).append(u"/softwareupdate.php?obj=11&ver=");
    for (const char digit : std::to_string(version)) address += static_cast<char16_t>(digit);
    return address;
}

std::u16string DownloadPageAddress() {
    return u"http://" + std::u16string(kWebSiteHost) + u"/download";
}

bool AnswerOffersUpdate(std::string_view answer, const fw::AnsiCodePage& ansi) {
    // The lines joined, each followed by CR LF, as every text file is read into one text.
    return ClipboardTextFromFile(answer, ansi).find(u"[UPDATE]") != std::u16string::npos;
}
