#include "Framework/Notice.h"

#include <cstdio>
#include <utility>

namespace {

void PrintToStandardError(const std::string& caption, const std::string& text)
{
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}

NoticeReporter& Reporter()
{
    static NoticeReporter reporter = PrintToStandardError;
    return reporter;
}

} // namespace

void ReportNotice(const std::string& caption, const std::string& text)
{
    Reporter()(caption, text);
}

void SetNoticeReporter(NoticeReporter reporter)
{
    Reporter() = reporter ? std::move(reporter) : NoticeReporter(PrintToStandardError);
}
