-- A small G-code reader for the demo: G0/G1/G2/G3 in the XY plane, G20/G21
-- (inches, millimetres) and G90/G91 (absolute, relative). Words it does not
-- know are skipped. Returns the feed and rapid moves as flat arrays of
-- segment end points (x1, y1, z1, x2, y2, z2, ...) in millimetres, and
-- their bounds.
local gcode = {}

local function arc(out, x0, y0, z0, x1, y1, z1, cx, cy, clockwise)
    local a0 = math.atan(y0 - cy, x0 - cx)
    local a1 = math.atan(y1 - cy, x1 - cx)
    local r = math.sqrt((x0 - cx) ^ 2 + (y0 - cy) ^ 2)
    local sweep = a1 - a0
    if clockwise and sweep >= 0 then sweep = sweep - 2 * math.pi end
    if not clockwise and sweep <= 0 then sweep = sweep + 2 * math.pi end
    local steps = math.max(4, math.ceil(math.abs(sweep) * r / 1.0))
    local px, py, pz = x0, y0, z0
    for i = 1, steps do
        local t = i / steps
        local a = a0 + sweep * t
        local nx, ny, nz = cx + r * math.cos(a), cy + r * math.sin(a), z0 + (z1 - z0) * t
        if i == steps then nx, ny = x1, y1 end
        local n = #out
        out[n + 1], out[n + 2], out[n + 3], out[n + 4], out[n + 5], out[n + 6] =
            px, py, pz, nx, ny, nz
        px, py, pz = nx, ny, nz
    end
end

function gcode.read(path)
    local feed, rapid = {}, {}
    local x, y, z = 0, 0, 0
    local scale, relative, motion = 1, false, 0
    local box = {math.huge, math.huge, math.huge, -math.huge, -math.huge, -math.huge}
    local function grow(px, py, pz)
        box[1], box[2], box[3] = math.min(box[1], px), math.min(box[2], py), math.min(box[3], pz)
        box[4], box[5], box[6] = math.max(box[4], px), math.max(box[5], py), math.max(box[6], pz)
    end
    for line in io.lines(path) do
        line = line:gsub("%(.-%)", ""):gsub(";.*", ""):upper()
        local words = {}
        for letter, value in line:gmatch("([A-Z])%s*([-+]?[%d.]+)") do
            if letter == "G" then
                local g = tonumber(value)
                if g == 20 then scale = 25.4
                elseif g == 21 then scale = 1
                elseif g == 90 then relative = false
                elseif g == 91 then relative = true
                elseif g >= 0 and g <= 3 then motion = g end
            else
                words[letter] = tonumber(value)
            end
        end
        if words.X or words.Y or words.Z then
            local function target(w, current)
                if not w then return current end
                return relative and current + w * scale or w * scale
            end
            local nx, ny, nz = target(words.X, x), target(words.Y, y), target(words.Z, z)
            local out = motion == 0 and rapid or feed
            if motion == 2 or motion == 3 then
                arc(out, x, y, z, nx, ny, nz, x + (words.I or 0) * scale,
                    y + (words.J or 0) * scale, motion == 2)
            else
                local n = #out
                out[n + 1], out[n + 2], out[n + 3], out[n + 4], out[n + 5], out[n + 6] =
                    x, y, z, nx, ny, nz
            end
            grow(x, y, z)
            grow(nx, ny, nz)
            x, y, z = nx, ny, nz
        end
    end
    return feed, rapid, box
end

-- Fills a LineView with the part: the stock as a block under the cut, the
-- feed moves in blue, the rapid moves dotted in orange, and a label. The
-- part is scaled into the viewer's home window.
function gcode.show(lv, path, label)
    local feed, rapid, box = gcode.read(path)
    local cx, cy = (box[1] + box[4]) / 2, (box[2] + box[5]) / 2
    local s = 0.55 / math.max(box[4] - box[1], box[5] - box[2])
    lv:BeginList()
    lv:CreateFont(1)
    gl.PushMatrix()
    gl.Scaled(s, s, s)
    gl.Translated(-cx, -cy, 0)
    -- The stock: a block from z = -6 up to the cut's depth.
    local x0, y0, x1, y1, zb, zt = box[1] - 5, box[2] - 5, box[4] + 5, box[5] + 5, -6, -1
    gl.Color3ub(170, 170, 160)
    local faces = {
        {0, 0, 1, {x0, y0, zt, x1, y0, zt, x1, y1, zt, x0, y1, zt}},
        {0, 0, -1, {x0, y0, zb, x0, y1, zb, x1, y1, zb, x1, y0, zb}},
        {0, -1, 0, {x0, y0, zb, x1, y0, zb, x1, y0, zt, x0, y0, zt}},
        {0, 1, 0, {x0, y1, zb, x0, y1, zt, x1, y1, zt, x1, y1, zb}},
        {-1, 0, 0, {x0, y0, zb, x0, y0, zt, x0, y1, zt, x0, y1, zb}},
        {1, 0, 0, {x1, y0, zb, x1, y1, zb, x1, y1, zt, x1, y0, zt}},
    }
    for _, f in ipairs(faces) do
        gl.Normal3d(f[1], f[2], f[3])
        gl.Vertices(gl.QUADS, f[4])
    end
    gl.Normal3d(0, 0, 1)
    gl.LineWidth(2)
    gl.Color3ub(0, 60, 220)
    gl.Vertices(gl.LINES, feed)
    gl.LineWidth(1)
    gl.Enable(gl.LINE_STIPPLE)
    gl.LineStipple(2, 0xAAAA)
    gl.Color3ub(230, 120, 0)
    gl.Vertices(gl.LINES, rapid)
    gl.Disable(gl.LINE_STIPPLE)
    gl.Color3ub(0, 0, 0)
    gl.RasterPos3d(box[1], box[5] + 8, zt)
    gl.ListBase(lv:GetFontList() - 32)
    gl.CallLists(label)
    gl.PopMatrix()
    lv:EndList()
    return #feed // 6, #rapid // 6
end

return gcode
