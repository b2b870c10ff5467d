-- WHILE: Collatz steps for 1 to n with nested while loops
local function show(x) print(string.format("%.14g", x)) end
local floor = math.floor

local t, m = 0, 0
local i, j = 0, 0
while i < 22000 do
  i = i + 1
  j = i
  while j > 1 do
    if floor(j / 2) * 2 == j then j = j / 2 else j = 3 * j + 1 end
    t = t + 1
    if j > m then m = j end
  end
end
show(t)
show(m)
