-- BM8: power, log and sin
local function show(x) print(string.format("%.14g", x)) end
local log, sin, floor = math.log, math.sin, math.floor

local k, a, b, c = 0, 0, 0, 0
repeat
  k = k + 1
  a = k ^ 2
  b = log(k)
  c = sin(k)
until not (k < 2400000)
show(k)
show(a / k)
show(floor(b * 1000000))
show(floor((c + 1) * 1000000))
