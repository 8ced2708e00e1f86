// The hotkey registry: entries, the message an entry claims, the 20-entry limit, what is
// registered with the platform and released, and the atom names.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <tuple>
#include <vector>

#include "app/engine/mekhotkey.h"

namespace {

// Records what the registry asks of the platform; keys listed in Taken are refused.
class TRecordingPlatform : public THotKeyPlatform {
public:
  struct FCall {
    bool Register;
    FWindowHandle Window;
    std::int32_t Id;
    std::uint32_t Modifiers;
    std::uint16_t VirtualKey;
    bool operator==(const FCall&) const = default;
  };
  std::vector<FCall> Calls;
  std::vector<std::uint16_t> Taken;

  bool RegisterHotKey(FWindowHandle w, std::int32_t id, std::uint32_t mods,
                      std::uint16_t vk) override {
    Calls.push_back({true, w, id, mods, vk});
    return std::find(Taken.begin(), Taken.end(), vk) == Taken.end();
  }
  void UnregisterHotKey(FWindowHandle w, std::int32_t id) override {
    Calls.push_back({false, w, id, 0, 0});
  }
};

FHotKeyMessage Message(std::uint32_t modifiers, std::uint16_t vk, std::intptr_t wParam = 0) {
  FHotKeyMessage m;
  m.WParam = wParam;
  m.LParam = HotKeyLParam(modifiers, vk);
  return m;
}

}  // namespace

TEST(Hotkey, IndexOfTheEntryByKeyAndModifierMask) {
  TMekhotkey keys;
  keys.AddHotKey(0x100, false, false, false, false, VK_F5);       // 1: F5
  keys.AddHotKey(0x100, true, true, false, false, 'A');           // 2: Ctrl+Alt+A
  keys.AddHotKey(0x200, false, false, true, true, 112);           // 3: Shift+Win+F1
  keys.AddHotKey(0x200, true, false, false, false, VK_F5);        // 4: Ctrl+F5
  struct Case {
    std::uint32_t Modifiers;
    std::uint16_t Key;
    std::intptr_t WParam;
    int Index;
  } cases[] = {
      {0, VK_F5, 0, 1},
      {0, VK_F5, 12345, 1},  // wParam is not compared
      {MOD_CONTROL | MOD_ALT, 'A', 0, 2},
      {MOD_SHIFT | MOD_WIN, 112, 0, 3},
      {MOD_CONTROL, VK_F5, 0, 4},
      {MOD_SHIFT, VK_F5, 0, 0},  // a modifier the entry lacks
      {MOD_CONTROL, 'A', 0, 0},  // a modifier missing
      {MOD_ALT | MOD_CONTROL | MOD_SHIFT, 'A', 0, 0},
      {0, 117, 0, 0},  // F6
      {0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    FHotKeyMessage m = Message(c.Modifiers, c.Key, c.WParam);
    EXPECT_EQ(keys.HotKeyIndex(m), c.Index) << c.Modifiers << " " << c.Key;
    EXPECT_EQ(m.Result, c.Index ? 1 : 0) << c.Modifiers << " " << c.Key;
  }
}

TEST(Hotkey, MaskAndMessageLayout) {
  EXPECT_EQ(ModifierMask({true, false, false, false, 0}), 2u);
  EXPECT_EQ(ModifierMask({false, true, false, false, 0}), 1u);
  EXPECT_EQ(ModifierMask({false, false, true, false, 0}), 4u);
  EXPECT_EQ(ModifierMask({false, false, false, true, 0}), 8u);
  EXPECT_EQ(ModifierMask({true, true, true, true, 0}), 15u);
  EXPECT_EQ(HotKeyLParam(0, VK_F5), 116 << 16);
  EXPECT_EQ(HotKeyLParam(MOD_CONTROL | MOD_SHIFT, 'Z'), ('Z' << 16) | 6);
}

TEST(Hotkey, TwentyEntriesAtMost) {
  TRecordingPlatform platform;
  {
    TMekhotkey keys(&platform);
    for (int i = 0; i < 20; ++i) keys.AddHotKey(0x100, false, false, false, false, 112 + i);
    EXPECT_EQ(keys.Count, 20);
    const auto calls = platform.Calls.size();
    keys.AddHotKey(0x999, true, false, false, false, 'Q');  // the 21st is ignored
    EXPECT_EQ(keys.Count, 20);
    EXPECT_EQ(platform.Calls.size(), calls);
    FHotKeyMessage q = Message(MOD_CONTROL, 'Q');
    EXPECT_EQ(keys.HotKeyIndex(q), 0);
    FHotKeyMessage last = Message(0, 131);
    EXPECT_EQ(keys.HotKeyIndex(last), 20);
    platform.Calls.clear();
  }
  // The destructor unregisters every entry.
  ASSERT_EQ(platform.Calls.size(), 20u);
  for (const auto& c : platform.Calls) EXPECT_FALSE(c.Register);
}

TEST(Hotkey, RegistersWithWindowIdMaskAndKey) {
  TRecordingPlatform platform;
  platform.Taken = {VK_F5};  // held by another program: the entry stays all the same
  std::vector<TRecordingPlatform::FCall> registered;
  std::int32_t id1, id2;
  {
    TMekhotkey keys(&platform);
    keys.AddHotKey(0x100, false, false, false, false, VK_F5);
    keys.AddHotKey(0x200, true, false, true, false, 'B');
    id1 = keys.Ids[1];
    id2 = keys.Ids[2];
    EXPECT_NE(id1, id2);
    registered = platform.Calls;
    EXPECT_EQ(keys.Handles[2], 0x200u);
    EXPECT_EQ(keys.Keys[2].VirtualKey, 'B');
    EXPECT_TRUE(keys.Keys[2].Ctrl && keys.Keys[2].Shift && !keys.Keys[2].Alt);
  }
  using C = TRecordingPlatform::FCall;
  EXPECT_EQ(registered, (std::vector<C>{{true, 0x100, id1, 0, VK_F5},
                                        {true, 0x200, id2, MOD_CONTROL | MOD_SHIFT, 'B'}}));
  EXPECT_EQ(platform.Calls, (std::vector<C>{{true, 0x100, id1, 0, VK_F5},
                                            {true, 0x200, id2, MOD_CONTROL | MOD_SHIFT, 'B'},
                                            {false, 0x100, id1, 0, 0},
                                            {false, 0x200, id2, 0, 0}}));
}

// The window keeps F5 registered only while item 47 is selected: the entries stay, the
// registration follows SetActive.
TEST(Hotkey, RegisteredOnlyWhileActive) {
  TRecordingPlatform platform;
  using C = TRecordingPlatform::FCall;
  auto keys = std::make_unique<TMekhotkey>(&platform);
  keys->SetActive(false);
  keys->AddHotKey(0x100, false, false, false, false, VK_F5);
  const std::int32_t id = keys->Ids[1];
  EXPECT_TRUE(platform.Calls.empty());
  FHotKeyMessage f5 = Message(0, VK_F5);
  EXPECT_EQ(keys->HotKeyIndex(f5), 1);  // the entry is there all the same

  keys->SetActive(true);
  keys->SetActive(true);  // no second registration
  keys->SetActive(false);
  keys->SetActive(false);
  keys->SetActive(true);
  EXPECT_EQ(platform.Calls, (std::vector<C>{{true, 0x100, id, 0, VK_F5},
                                            {false, 0x100, id, 0, 0},
                                            {true, 0x100, id, 0, VK_F5}}));
  platform.Calls.clear();
  keys.reset();
  EXPECT_EQ(platform.Calls, (std::vector<C>{{false, 0x100, id, 0, 0}}));

  // Inactive at the end: nothing left to unregister.
  keys = std::make_unique<TMekhotkey>(&platform);
  keys->AddHotKey(0x100, false, false, false, false, VK_F5);
  keys->SetActive(false);
  platform.Calls.clear();
  keys.reset();
  EXPECT_TRUE(platform.Calls.empty());
}

TEST(Hotkey, AtomNames) {
  struct Case {
    const char* File;
    int Number;
    const char* Name;
  } cases[] = {
      {"calc.exe", 1, "calc1"},
      {"/opt/app/calc.exe", 20, "calc20"},
      {"my.calc.exe", 3, "my3"},  // cut before the first "."
      {"orvex", 1, "1"},          // no "." gives an empty stem
      {"/usr/lib/orvex/orvex", 2, "2"},
      {"/a.b/orvex", 1, "1"},     // the folder is dropped first
      {".hidden", 4, "4"},
  };
  for (const Case& c : cases) EXPECT_EQ(HotKeyAtomName(c.File, c.Number), c.Name) << c.File;
}

TEST(Hotkey, AtomsAreSharedByNameAndReleasedWithTheLastRegistry) {
  const std::string name = HotKeyAtomName(TMekhotkey::ProgramFile(), 1);
  EXPECT_EQ(FindHotKeyAtom(name), 0);
  auto first = std::make_unique<TMekhotkey>();
  first->AddHotKey(0x100, false, false, false, false, VK_F5);
  const std::uint16_t atom = FindHotKeyAtom(name);
  EXPECT_GE(atom, 0xC000);
  EXPECT_EQ(first->Ids[1], atom - 0xC000);
  {
    TMekhotkey second;
    second.AddHotKey(0x200, false, false, false, false, VK_F5);
    EXPECT_EQ(second.Ids[1], first->Ids[1]);  // the same name, the same atom
  }
  EXPECT_EQ(FindHotKeyAtom(name), atom);  // still held by the first
  first.reset();
  EXPECT_EQ(FindHotKeyAtom(name), 0);

  EXPECT_EQ(AddHotKeyAtom(""), 0);
  const std::uint16_t a = AddHotKeyAtom("x1");
  EXPECT_EQ(AddHotKeyAtom("x1"), a);
  EXPECT_NE(AddHotKeyAtom("x2"), a);
  DeleteHotKeyAtom(a);
  EXPECT_EQ(FindHotKeyAtom("x1"), a);
  DeleteHotKeyAtom(a);
  EXPECT_EQ(FindHotKeyAtom("x1"), 0);
  DeleteHotKeyAtom(FindHotKeyAtom("x2"));
}
