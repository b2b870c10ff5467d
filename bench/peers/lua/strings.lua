-- STRINGS: build with string.char, reverse with string.sub, sum with string.byte and #
local function show(x) print(string.format("%.14g", x)) end
local char, sub, byte = string.char, string.sub, string.byte

local t = 0
local a, b = "", ""
for i = 1, 90000 do
  a = ""
  for j = 1, 16 do
    a = a .. char(65 + (i + j * 7) % 26)
  end
  b = ""
  for j = #a, 1, -1 do
    b = b .. sub(a, j, j)
  end
  t = t + byte(b) + #b
end
show(t)
print(b)
