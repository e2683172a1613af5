#include "core/app/app_state.h"

namespace velmora {

AppState& App()
{
    static AppState state;
    return state;
}

} // namespace velmora
