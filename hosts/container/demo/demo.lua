-- The container's demonstration: every control built so far, inserted,
-- exercised and pictured. The pictures go into the folder given as the first
-- argument (default ./snapshots).
--   kwcontainer hosts/container/demo/demo.lua [OUTPUT_FOLDER]
local out = arg[1] or "snapshots"
local written = 0
local function picture(c, name)
    snapshot(c, out .. "/" .. name)
    written = written + 1
end
local function hex(v) return string.format("0x%06X", v) end

-- The lamp: rows red, green, yellow, blue; columns the two shapes in the
-- modes dark, lit, unavailable and blinking.
local colours = {"red", "green", "yellow", "blue"}
local lamps = {}
for colour = 0, 3 do
    for shape = 0, 1 do
        for mode = 0, 3 do
            local c = insert("Kestrowidge.LedCtrl.1", {
                name = string.format("led_%s_%d_%d", colours[colour + 1], shape, mode),
                x = 6 + (4 * shape + mode) * 24, y = 6 + colour * 24})
            c.Color = colour
            c.Shape = shape
            c:SetMode(mode)
            lamps[#lamps + 1] = c
        end
    end
end
local first = lamps[1]
print(string.format("Led: %d lamps, class %s %s, size %dx%d", #lamps, progid(first),
                    clsid(first), size(first)))
for _, m in ipairs(members(first)) do
    print(string.format("  %-8s %-12s %-12s dispid %d", m.kind, m.name, m.runtime, m.dispid))
end
print("  about: " .. table.concat(about(first), " / "))

picture(nil, "led-all-modes.png")
advance(500)
picture(nil, "led-all-modes-blink-phase2.png")

-- A flash: lit for 300 ms, then dark.
local flash = lamps[1]
flash:SetMode(4)
print(string.format("flash at %d ms: Mode %d, centre %s", now(), flash.Mode, hex(pixel(flash, 6, 6))))
picture(nil, "led-flash-lit.png")
advance(300)
print(string.format("flash at %d ms: Mode %d, centre %s", now(), flash.Mode, hex(pixel(flash, 6, 6))))
picture(nil, "led-flash-over.png")

-- Save one lamp and the whole form, and load the lamp back as a new one.
local blue = lamps[#lamps]
save(blue, out .. "/led-blue.json")
local copy = load(out .. "/led-blue.json", {name = "copy", x = 220, y = 6})
print(string.format("loaded %s: Color %d, Shape %d, Mode %d", tostring(copy), copy.Color,
                    copy.Shape, copy.Mode))
saveform(out .. "/form.json")
reset(copy)
print(string.format("reset %s: Color %d, Shape %d, Mode %d", tostring(copy), copy.Color,
                    copy.Shape, copy.Mode))
picture(copy, "led-reset.png")

-- Mistakes are reported, and a script may catch them.
print("caught: " .. select(2, pcall(function() first.Colour = 1 end)))
print(string.format("demo: wrote %d pictures into %s", written, out))
