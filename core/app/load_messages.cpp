#include "core/app/load_messages.h"

#include "core/common/decimal.h"
#include <algorithm>

namespace velmora {

std::vector<std::u16string> LoadMessageBoxes(const std::vector<std::u16string>& messages)
{
    if (messages.size() <= kOwnBoxMessages)
        return messages;
    std::u16string box;
    const size_t listed = std::min(messages.size(), kListedMessages);
    for (size_t i = 0; i < listed; ++i) {
        if (i > 0)
            box += u'\n';
        box += messages[i];
    }
    if (messages.size() > listed) {
        box += u"\nほか" + Decimal(static_cast<int64_t>(messages.size() - listed)) + u"件";
    }
    return { box };
}

} // namespace velmora
