#pragma once
// The US keyboard layout's own (unshifted) character for a virtual-key
// code, as the console's virtual-key map gives it; 0 for keys without one.
// Platforms without such a map (terminals, tests) use this table.
namespace gndfit {

int us_layout_char(int virtual_key);

}  // namespace gndfit
