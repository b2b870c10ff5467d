-- BM3: bm2 with arithmetic on variables
local function show(x) print(string.format("%.14g", x)) end

local k, a = 0, 0
repeat
  k = k + 1
  a = k / k * k + k - k
until not (k < 2800000)
show(k)
show(a)
