-- BM4: bm2 with arithmetic on constants
local function show(x) print(string.format("%.14g", x)) end

local k, a = 0, 0
repeat
  k = k + 1
  a = k / 2 * 3 + 4 - 5
until not (k < 2600000)
show(k)
show(a)
