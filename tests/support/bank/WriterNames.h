#pragma once
// The test banks and folders of testbank build on the bank writer's records
// and functions, and the tests name both through testbank.
#include "tools/bankwriter/BankWriter.h"

namespace testbank {

using namespace bankwriter;
// The platform's unsigned floatBits lives in the global namespace, where the
// directive above would place the writer's beside it; declared here, the
// writer's signed one is what testbank's own code finds.
using bankwriter::floatBits;

}  // namespace testbank
