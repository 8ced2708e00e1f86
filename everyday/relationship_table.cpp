// The phrases of the name relationship, by the difference of the two stroke sums.
#include "everyday/relationship_table.h"

const std::array<const char*, 26> RelationshipPhrases = {
    "亲密无比",      // 0
    "永远和你在一起",  // 1
    "水火不容",      // 2
    "知心朋友",      // 3
    "心上人",        // 4
    "帮你做事的人",    // 5
    "帮你的人",      // 6
    "面和心不合",     // 7
    "关系不正常",     // 8
    "情投意合",      // 9
    "关系马虎",      // 10
    "尊敬你的人",     // 11
    "爱你的人",      // 12
    "适合你的",      // 13
    "说你坏话的人",    // 14
    "克星",         // 15
    "救星",         // 16
    "忠心的人",      // 17
    "狼心狗肺的人",    // 18
    "单相思",        // 19
    "山盟海誓",      // 20
    "情敌",         // 21
    "服从你的人",     // 22
    "永远在一起",     // 23
    "伴终生",        // 24
    "恨你又爱你",     // 25
};

const char* const UnknownRelationship = "未知关系";
