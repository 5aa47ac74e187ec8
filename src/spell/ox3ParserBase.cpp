#include "spell/ox3ParserBase.h"

namespace tovuri {

TControlParser::~TControlParser() = default;

void TControlParser::UndoNotify(int, TSpellAction, std::int32_t&) {}

std::size_t TControlParser::TakeRun(const std::array<bool, 256>&, std::string&) { return 0; }

TParserIgnore::~TParserIgnore() = default;

TParsingEngine::~TParsingEngine() = default;

}  // namespace tovuri
