#include <gtest/gtest.h>

#include "engine/v6/PartLayout.h"

using HalvorenEngineV6::layoutParts;
using HalvorenEngineV6::PartSpans;

namespace {
PartSpans spans(int L, int srcLen, int m, int h)
{
    PartSpans s;
    s.length = L;
    s.srcLen = srcLen;
    s.body = m;
    s.head = h;
    return s;
}

PartSpans weighted(int L, int h, float a, float b, float c)
{
    PartSpans s = spans(L, 30, 10, h);
    s.elemFlag = true;
    s.elemTimes[0] = a;
    s.elemTimes[1] = b;
    s.elemTimes[2] = c;
    return s;
}

PartSpans weightless(int L, int srcLen, int m, int h)
{
    PartSpans s = spans(L, srcLen, m, h);
    s.elemFlag = true;
    return s;
}
}  // namespace

TEST(PartLayout, HeadBodyAndTailByRule)
{
    struct Case {
        const char* name;
        PartSpans in;
        int head, body, tail;
    };
    const Case cases[] = {
        // 40 <= 30 + 10 + 12: tail min(30, 40 / 2) = 20, the rest halved, head 10 <= 12.
        {"half rule", spans(40, 30, 10, 12), 10, 10, 20},
        // The halved head 10 exceeds h 6: head 6, body 40 - 20 - 6 = 14.
        {"head capped", spans(40, 30, 10, 6), 6, 14, 20},
        // q = 20.5 / 30: tail trunc(20.5) = 20; 21 halved: body 10, head gets the odd frame.
        {"odd rest", spans(41, 30, 10, 12), 11, 10, 20},
        // 100 > 30 + 10 + 12: head 12, tail 30, body 58.
        {"steady rule", spans(100, 30, 10, 12), 12, 58, 30},
        // No head: the body takes all but the tail.
        {"no head", spans(40, 30, 10, 0), 0, 20, 20},
        {"no tail source", spans(40, 0, 50, 12), 12, 28, 0},
        {"tail source shorter than half", spans(40, 10, 40, 0), 0, 30, 10},
        // Spans from damaged marks count as 0.
        {"negative spans", spans(20, -5, -3, -4), 0, 20, 0},
        {"empty cell", spans(0, 30, 10, 12), 0, 0, 0},
        {"negative cell", spans(-7, 30, 10, 12), 0, 0, 0},
        // Element times 1, 2, 1: a quarter, a half, a quarter of 40.
        {"element times", weighted(40, 12, 1, 2, 1), 10, 20, 10},
        // Without a head: body 40 * 2/3 = 26.7 -> 26, tail 14.
        {"element times, no head", weighted(40, 0, 1, 2, 1), 0, 26, 14},
        // Times that weigh nothing fall to the half rule (40 <= 52).
        {"zero element times", weighted(40, 12, 0, 0, 0), 10, 10, 20},
        // ... and to the steady rule when it applies: L 50 > 30 + 5 + 5 gives
        // head 5, tail 30, body 50 - 30 - 5 = 15 (not the half rule's 5/20/25).
        {"zero element times, steady rule", weightless(50, 30, 5, 5), 5, 15, 30},
    };
    for (const Case& c : cases) {
        const auto out = layoutParts(c.in);
        EXPECT_EQ(out.head, c.head) << c.name;
        EXPECT_EQ(out.body, c.body) << c.name;
        EXPECT_EQ(out.tail, c.tail) << c.name;
    }
}
