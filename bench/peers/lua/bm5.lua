-- BM5: bm4 with a subroutine call
local function show(x) print(string.format("%.14g", x)) end

local function subroutine()
end

local k, a = 0, 0
repeat
  k = k + 1
  a = k / 2 * 3 + 4 - 5
  subroutine()
until not (k < 2400000)
show(k)
show(a)
