#include "spell/ox3ParserBase.h"

namespace tovuri {

TControlParser::~TControlParser() = default;

void TControlParser::UndoNotify(int, TSpellAction, std::int32_t&) {}

TParserIgnore::~TParserIgnore() = default;

TParsingEngine::~TParsingEngine() = default;

}  // namespace tovuri
