#include "core/search/results_window.h"

#include "core/common/errors.h"
#include "core/data/cp932.h"
#include "core/data/text_file.h"

#include <cstdio>

namespace velmora::search {

void ResultLines::Append(std::u16string_view line)
{
    m_text.append(line);
    m_ends.push_back(m_text.size());
}

std::u16string_view ResultLines::Line(size_t i) const
{
    const size_t end = m_ends.at(i);
    const size_t begin = i == 0 ? 0 : m_ends[i - 1];
    return std::u16string_view(m_text).substr(begin, end - begin);
}

std::string ResultLines::Cp932Bytes() const
{
    std::string bytes;
    bytes.reserve(m_text.size() * 2 + m_ends.size() * 2);
    std::string encoded;
    for (size_t i = 0; i < Size(); ++i) {
        EncodeCp932(Line(i), encoded);
        bytes += encoded;
        bytes += "\r\n";
    }
    return bytes;
}

ResultsWindowModel::ResultsWindowModel(ProgressPlan plan)
    : m_plan(plan)
{
}

void ResultsWindowModel::StepProgress()
{
    if (m_position < m_plan.range)
        ++m_position;
}

void ResultsWindowModel::AddResult(std::u16string_view line)
{
    m_lines.Append(line);
}

void ResultsWindowModel::SearchError(std::string_view message)
{
    if (!m_error)
        m_error = std::string(message);
}

void ResultsWindowModel::SearchDone()
{
    // The bar advances by its whole range, which leaves it full.
    m_finished = true;
    m_position = m_plan.range;
}

std::optional<std::string> ResultsWindowModel::TakeError()
{
    std::optional<std::string> e;
    e.swap(m_error);
    return e;
}

ResultsWindowModel::ViewRequest ResultsWindowModel::View(int selected) const
{
    if (selected < 0 || static_cast<size_t>(selected) >= m_lines.Size())
        return { std::u16string(kMsgChooseResult), {} };
    return { {}, std::u16string(m_lines.Line(static_cast<size_t>(selected))) };
}

void ResultsWindowModel::Save(const std::string& path) const
{
    WriteFileAtomic(path, m_lines.Cp932Bytes());
}

std::u16string ResultsWindowModel::RateText(int64_t leaves, double seconds)
{
    const double rate = seconds > 0 ? static_cast<double>(leaves) / seconds : 0.0;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.1f", seconds);
    std::u16string s = FromUtf8(buf) + u"秒  ";
    std::snprintf(buf, sizeof buf, "%.0f", rate);
    return s + FromUtf8(buf) + u"件/秒";
}

} // namespace velmora::search
