#include "wizard/ui/form.h"

#include <cstring>

namespace setup::ui {

int ControlId(const FormLayout& layout, const char* name) {
  for (size_t i = 0; i < layout.controls.size(); ++i)
    if (std::strcmp(layout.controls[i].name, name) == 0)
      return kFirstControlId + static_cast<int>(i);
  return 0;
}

const char* ControlName(const FormLayout& layout, int id) {
  const int index = id - kFirstControlId;
  return index >= 0 && index < static_cast<int>(layout.controls.size())
             ? layout.controls[index].name
             : "";
}

bool MovesWindow(Kind kind) {
  return kind == Kind::kPictureBox || kind == Kind::kShapeBox || kind == Kind::kLabel ||
         kind == Kind::kProgressBar;
}

namespace {
const ControlEntry* Find(const FormLayout& layout, const char* name, size_t before) {
  for (size_t i = 0; i < before && i < layout.controls.size(); ++i)
    if (std::strcmp(layout.controls[i].name, name) == 0) return &layout.controls[i];
  return nullptr;
}
}  // namespace

const char* CheckForm(const FormLayout& layout) {
  size_t topLevel = 0;
  for (size_t i = 0; i < layout.controls.size(); ++i) {
    const ControlEntry& c = layout.controls[i];
    if (Find(layout, c.name, i)) return "a control name is used twice";
    if (!c.parent) {
      ++topLevel;
      bool listed = false;
      for (const char* name : layout.childrenTopDown)
        listed = listed || std::strcmp(name, c.name) == 0;
      if (!listed && c.kind != Kind::kOpenFileDialog)
        return "a child of the window is missing from the stacking order";
      if (c.page != -1) return "a page given for a control outside the page container";
      continue;
    }
    const ControlEntry* parent = Find(layout, c.parent, i);
    if (!parent) return "a parent is not declared before its child";
    if (parent->kind == Kind::kPageContainer) {
      if (c.page < 0 || c.page >= static_cast<int>(layout.pages.size()))
        return "a page out of range";
    } else if (c.page != -1) {
      return "a page given inside a control that has none";
    }
  }
  size_t stacked = 0;
  for (const char* name : layout.childrenTopDown) {
    const ControlEntry* c = Find(layout, name, layout.controls.size());
    if (!c || c->parent) return "the stacking order names a control that is no child of the window";
    ++stacked;
  }
  if (stacked > topLevel) return "the stacking order lists a control twice";
  return nullptr;
}

}  // namespace setup::ui
