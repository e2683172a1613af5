#pragma once
// The results window of the strongest-mating search without its widgets: it listens to the search,
// keeps the result lines, the progress position and the searching / finished state, and says what
// the window's buttons do. The window runs the engine's calls through this listener and then repaints
// from it once per batch.

#include "core/search/search_conditions.h"
#include "core/search/search_engine.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::search {

inline constexpr std::u16string_view kResultsCaptionSearching = u"【Dravik】検索結果　　≪検索中≫";
inline constexpr std::u16string_view kResultsCaptionFinished = u"【Dravik】検索結果　　≪検索終了≫";
inline constexpr std::u16string_view kMsgChooseResult = u"表示する血統を選択して下さい";
inline constexpr std::u16string_view kResultsFileName = u"Results.txt";

// Result lines kept in one buffer: appending a line allocates only when the buffer grows.
class ResultLines
{
public:
    void Append(std::u16string_view line);
    size_t Size() const { return m_ends.size(); }
    std::u16string_view Line(size_t i) const;
    // The list as the results file holds it: code page 932, every line followed by CR LF.
    std::string Cp932Bytes() const;

private:
    std::u16string m_text;
    std::vector<size_t> m_ends;
};

class ResultsWindowModel : public SearchListener
{
public:
    // A search about to start: searching, the bar at 0 of the plan's range, 戻る disabled.
    explicit ResultsWindowModel(ProgressPlan plan);

    // SearchListener: the engine's calls, on the window's thread.
    void StepProgress() override;
    void AddResult(std::u16string_view line) override;
    void SearchError(std::string_view message) override;
    void SearchDone() override;

    bool Searching() const { return !m_finished; }
    std::u16string_view Caption() const { return m_finished ? kResultsCaptionFinished : kResultsCaptionSearching; }
    bool AbortEnabled() const { return !m_finished; }
    bool ExitEnabled() const { return m_finished; }
    int64_t Position() const { return m_position; }
    int64_t Range() const { return m_plan.range; }
    int64_t StepDiv() const { return m_plan.stepDiv; }
    const ResultLines& Lines() const { return m_lines; }
    // A worker's error, once: the window shows it in a message box.
    std::optional<std::string> TakeError();

    // 血統表示 and a double click: with no line selected (selected < 0) the message to show; otherwise
    // the line to put on the clipboard for the viewer.
    struct ViewRequest
    {
        std::u16string message;
        std::u16string line;
    };
    ViewRequest View(int selected) const;

    // セーブ: writes the list to path whole and atomically. Throws FileError.
    void Save(const std::string& path) const;

    // The text beside the bar: elapsed seconds and leaves per second, e.g. "12.3秒  1234567件/秒".
    static std::u16string RateText(int64_t leaves, double seconds);

private:
    ProgressPlan m_plan;
    int64_t m_position = 0;
    bool m_finished = false;
    ResultLines m_lines;
    std::optional<std::string> m_error;
};

} // namespace velmora::search
