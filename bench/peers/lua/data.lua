-- DATA: read numbers and names, restore to one of two blocks
local function show(x) print(string.format("%.14g", x)) end

-- The DATA lines in order; a restore sets where the next read starts.
local data = {
  3, 1, "ALPHA", 4, 1, "BETA",
  5, 9, "GAMMA", 2, 6, "DELTA",
  5, 3, "EPSILON", 5, 8, "ZETA",
  9, 7, "ETA", 9, 3, "THETA",
}
local block1000, block2000 = 1, 13

local s = 0
local x, y, n = 0, 0, ""
local next_item = block1000
for i = 1, 300000 do
  if i % 3 == 0 then next_item = block2000 end
  if i % 3 ~= 0 then next_item = block1000 end
  for j = 1, 4 do
    x = data[next_item]
    y = data[next_item + 1]
    n = data[next_item + 2]
    next_item = next_item + 3
    s = s + x * y + #n
  end
end
show(s)
print(n)
