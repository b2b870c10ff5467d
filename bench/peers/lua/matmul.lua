-- MATMUL: c = a * b for 20 by 20 matrices, repeated
local function show(x) print(string.format("%.14g", x)) end

-- Rows 0 to 20 of columns 0 to 20, as BASIC's DIM A(20, 20) makes them.
local function matrix()
  local rows = {}
  for i = 0, 20 do
    local row = {}
    for j = 0, 20 do row[j] = 0 end
    rows[i] = row
  end
  return rows
end

local z = 20
local a, b, c = matrix(), matrix(), matrix()
for i = 1, z do
  for j = 1, z do
    a[i][j] = i + j
    b[i][j] = i * 2 - j + 20
  end
end
for r = 1, 520 do
  for i = 1, z do
    for j = 1, z do
      local s = 0
      for k = 1, z do
        s = s + a[i][k] * b[k][j]
      end
      c[i][j] = s
    end
  end
end
local t = 0
for i = 1, z do
  for j = 1, z do
    t = t + c[i][j]
  end
end
show(t)
show(c[z][z])
