// fold half TEXT | fold full TEXT: the text folded into the stored form or into full-width katakana.

#include "cli/command.h"
#include "core/data/cp932.h"
#include "core/data/name_fold.h"

#include <cstdio>
#include <string>

namespace velmora::cli {

namespace {
int RunFold(Context& ctx)
{
    if (ctx.args.size() != 2 || (ctx.args[0] != "half" && ctx.args[0] != "full"))
        throw CliError("usage: fold half TEXT | fold full TEXT");
    const std::u16string text = FromUtf8(ctx.args[1]);
    const std::u16string folded = ctx.args[0] == "half" ? ToHalfWidth(text) : ToFullWidth(text);
    const std::string out = ToUtf8(folded) + "\n";
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}
} // namespace

static const Registration reg { "fold", "fold half TEXT | fold full TEXT   (the folded text as one line)", &RunFold };

} // namespace velmora::cli
