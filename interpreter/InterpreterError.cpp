// The interpreter's one exception, raised with a text of the message table.
#include "interpreter/InterpreterError.h"

void ThrowMessage(EMessage id, std::initializer_list<std::string_view> args) {
    throw CInterpreterError(MessageText(id, args));
}
