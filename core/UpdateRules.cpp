// The update query's address, the download page's address and how the server's answer is read.
#include "core/UpdateRules.h"

#include "core/ActionRules.h"
#include "framework/Text.h"

namespace corvalend {

std::u16string UpdateQueryAddress(std::u16string_view host, uint32_t version) {
    return u"http://" + std::u16string(host) + u"/softwareupdate.php?obj=11&ver=" + fw::IntToStr(version);
}

std::u16string DownloadPageAddress() {
    return u"http://" + std::u16string(kWebSiteHost) + u"/download";
}

bool AnswerOffersUpdate(std::string_view answer, const fw::AnsiCodePage& ansi) {
    // The lines joined, each followed by CR LF, as every text file is read into one text.
    return ClipboardTextFromFile(answer, ansi).find(u"[UPDATE]") != std::u16string::npos;
}

}  // namespace corvalend
