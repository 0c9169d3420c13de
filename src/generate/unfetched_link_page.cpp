#include "generate/unfetched_link_page.h"

#include "generate/texts.h"

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
  const std::string link =
      "</h2>This link (<a href=\"" + std::string(address) + "\">" + std::string(address) + "</a>)";
  switch (kind) {
    case SpecialPage::SpiderLimit:
      return "<html><body><title>Spider Limit Exceeded</title><h2>Spider Search Limit Exceeded" +
             link + " is beyond the range of the spider search set by the user.";
    case SpecialPage::MailLink:
      return "<html><body><title>Mail Link</title><h2>Mail Link." + link +
             " is a mail link. If your browser has mail client support,"
             "you can click on the link to send mail.";
    case SpecialPage::UnsupportedProtocol:
      break;
  }
  return "<html><body><title>Unsupported Protocol</title><h2>"
         "Gleaner-Light does not support this protocol." +
         link + " is not an HTTP Web link.";
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
