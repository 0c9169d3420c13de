#include "generate/internal/unfetched_link_page.h"

#include "generate/internal/texts.h"
#include "net/generated_pages.h"

namespace gl {

std::string_view SpecialPageTitle(SpecialPage kind) {
  switch (kind) {
    case SpecialPage::SpiderLimit:
      return "Spider Limit Exceeded";
    case SpecialPage::MailLink:
      return "Mail Link";
    case SpecialPage::UnsupportedProtocol:
      break;
  }
  return "Unsupported Protocol";
}

std::string SpecialPageBody(SpecialPage kind, std::string_view address) {
  if (kind != SpecialPage::SpiderLimit) {
    return OtherSchemeText(address, kind == SpecialPage::MailLink);
  }
  return "<html><body><title>Spider Limit Exceeded</title><h2>Spider Search Limit Exceeded" +
         ThisLinkText(address) + " is beyond the range of the spider search set by the user.";
}

std::string WriteSpecialPage(RunContext& run, CheckedFile& referring, std::string_view address,
                             SpecialPage kind, const LinkSet& links, std::string_view title) {
  const std::string name = run.AllocatePage(texts::kPageSuffix);
  if (name == texts::kNoName) return {};
  run.RecordFile(name);
  CheckedFile page(run.PathOf(name));
  run.WriteHeader(page, title, false, links);
  page << SpecialPageBody(kind, address);
  PrintBriefFooter(page, links);
  page.Close();
  referring << name;
  return name;
}

}  // namespace gl
