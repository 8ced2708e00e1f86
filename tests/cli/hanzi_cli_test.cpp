// Items 12 and 13 (stroke count, radical) and item 34 (name relationship) through
// orvex-calc, where what is left in the input line matters.
#include <gtest/gtest.h>

#include "itembatch.h"

TEST(HanziCli, StrokesAndRadicals) {
  const char* const NoStrokes = "没有找到这个字的笔画";
  const FCliCase cases[] = {
      {12, "啊", "10", nullptr},   {12, "的确", "8", nullptr},  {12, "丨", "1", nullptr},
      {12, "A", "A", NoStrokes},   {12, "國", "國", NoStrokes}, {12, "", "", nullptr},
      {12, "㐀", "?", NoStrokes},  // GBK lacks it: it arrives as "?"
      {13, "啊", "口", nullptr},   {13, "打", "扌手", nullptr}, {13, "热", "火灬", nullptr},
      // no radical: the line is kept
      {13, "國", "囗", nullptr},   {13, "A", "A", nullptr},     {13, "㐀", "?", nullptr},
      {13, "\uF92C", "\uF92C", nullptr},  // a compatibility ideograph
      {13, "", "", nullptr},
  };
  RunCliCases(cases);
}

TEST(HanziCli, NameRelationship) {
  const char* const join = "请用+连接测试的两人姓名";
  const FCliCase cases[] = {
      {34, "张三+李四", "水火不容(仅供娱乐！)", nullptr},
      {34, "李四+张三", "水火不容(仅供娱乐！)", nullptr},
      {34, "张三+李四+王五", "情投意合(仅供娱乐！)", nullptr},
      {34, "张三 丰+李四", "永远和你在一起(仅供娱乐！)", nullptr},
      {34, "张三＋李四", "水火不容(仅供娱乐！)", nullptr},
      {34, "爨+水", "未知关系(仅供娱乐！)", nullptr},
      {34, "丂中+中", "永远和你在一起(仅供娱乐！)", nullptr},  // 丂 (81 40) -1, 中 4: one apart
      {34, "张三+", "张三+", nullptr},
      {34, "+李四", "+李四", nullptr},
      {34, "张三", "张三", join},
  };
  RunCliCases(cases);
}
