-- PRINT: one number a line, then their sum
local s, v = 0, 0
for i = 1, 700000 do
  v = i * 37 % 1009
  s = s + v
  print(v)
end
print(s)
