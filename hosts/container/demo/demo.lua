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

-- The numeric entry field in a few of its configurations, each pictured.
local fields = {}
local function field(name, y, setup)
    local c = insert("Kestrowidge.SpinEditCtrl.1", {name = name, x = 6, y = y, w = 240, h = 24})
    setup(c)
    fields[#fields + 1] = c
    on(c, "ValueChanged", function()
        local _, v = c:GetVal(0, -1)
        print(string.format("%s: ValueChanged, value %g", name, v))
    end)
    on(c, "UnitChanged", function(a)
        print(string.format("%s: UnitChanged %d -> %d", name, a.oldUnit, a.newUnit))
    end)
    return c
end
local feed = field("spin_label", 110, function(c)
    c.Label = "Vorschub"; c.LabelWidth = 60; c.UnitText = "a$1"
    c:SetVal(1250.5, -1)
end)
local inch = field("spin_units", 140, function(c)
    c.Label = "X:"; c.Units = 1 + 4; c.UnitText = "a$3c$4"
    c:SetVal(1, 4) -- one inch, shown in millimetres
end)
local angle = field("spin_angle", 170, function(c)
    c.Label = "A:"; c.Units = 32 + 64; c.DefaultUnit = 5; c.UnitText = "f$1g$5"
    c:SetVal(180, -1)
end)
local absrel = field("spin_absrel", 200, function(c)
    c.Label = "Z:"; c.Flags = 4 + 0x80
    c:SetVal(100, -1); c:SetOffset(10)
end)
local disabled = field("spin_disabled", 230, function(c)
    c.Label = "Sperre"; c.LabelWidth = 50
    c:SetVal(42, -1); c.Enabled = false
end)
local unset = field("spin_unset", 260, function(c)
    c.Label = "Y:"; c.Flags = 4 + 0x100
end)
picture(nil, "spinedit-configurations.png")
print(string.format("spinedit: %s | %s | %s | %s | %s | %s", feed.Value, inch.Value, angle.Value,
                    absrel.Value, disabled.Value, tostring(unset.Value)))

-- The unit button switches the display unit: degrees to radians.
mouse(angle, "lclick", 220, 12)
picture(angle, "spinedit-angle-radians.png")
-- Absolute to relative: the value reads as its distance from the reference.
mouse(absrel, "lclick", 225, 12)
picture(absrel, "spinedit-relative.png")
-- A spin button held down: one step at once, one more every 300 ms.
mouse(feed, "ldown", 191, 5)
picture(feed, "spinedit-spin-pressed.png")
advance(300)
mouse(feed, "lup", 191, 5)
print(string.format("spin_label after the up button: %g", feed.Value))

-- Typing an expression: the entry box opens over the value field, Enter
-- evaluates it and the field stores the result in its value unit (inches).
key(inch, "char", "2")
key(inch, "char", "*")
key(inch, "char", "3")
picture(inch, "spinedit-editing.png")
key(inch, "press", "VK_RETURN")
local ok, inches = inch:GetVal(0, 4)
local _, mm = inch:GetVal(0, 1)
print(string.format("spin_units after typing 2*3 mm: %.6f inch (%g mm)", inches, mm))
picture(inch, "spinedit-entered.png")
-- A typing mistake: the message box names the field, the value stays.
key(feed, "char", "2")
key(feed, "char", "+")
key(feed, "press", "VK_RETURN")
print(string.format("spin_label after a mistake: %g", feed.Value))

-- Mistakes are reported, and a script may catch them.
print("caught: " .. select(2, pcall(function() first.Colour = 1 end)))
-- The acceleration ramp: the default exponential ramp and a linear one,
-- each as its ramp plot and its move profile, the profile's marker
-- following the step the machine is at over virtual time. The plots lie
-- over the form while they are pictured and leave it afterwards.
local expo = insert("Kestrowidge.AccelerationCtrl.1", {name = "accel_exp", x = 0, y = 0, w = 320, h = 200})
local linear = insert("Kestrowidge.AccelerationCtrl.1", {name = "accel_lin", x = 0, y = 0, w = 320, h = 200})
print(string.format("Acceleration: %d entries before a parameter is set, class %s, size %dx%d",
                    #expo:GetRampTable(), progid(expo), size(expo)))
for _, m in ipairs(members(expo)) do
    print(string.format("  %-8s %-12s %-12s dispid %d", m.kind, m.name, m.runtime, m.dispid))
end
expo.Vstart = 200 -- the value it has: the table is computed
local ramp = expo:GetRampTable()
print(string.format("exponential: %d entries, first %d, last %d (of B = %d Hz)", #ramp, ramp[1],
                    ramp[#ramp], expo.B))
move(linear, -10000, -10000)
picture(expo, "acceleration-exponential-ramp.png")
linear.Alpha = 10000
ramp = linear:GetRampTable()
print(string.format("linear: %d entries, first %d, %d, %d, last %d; B now %d", #ramp, ramp[1],
                    ramp[2], ramp[3], ramp[#ramp], linear.B))
move(expo, -10000, -10000)
move(linear, 0, 0)
picture(linear, "acceleration-linear-ramp.png")

-- The move profile of each; the machine steps on every 10 ms of virtual
-- time, up the ramp, then down again.
local function follow(c, name, count)
    c.Mode = 1
    local steps = {count // 4, count // 2, count - 1}
    for i, step in ipairs(steps) do
        advance(10)
        c.CurRamp = step
        picture(c, string.format("acceleration-%s-profile-%d.png", name, i))
    end
    advance(10)
    c.CurRamp = count // 3 -- falling again: the marker turns red
    picture(c, string.format("acceleration-%s-profile-%d.png", name, #steps + 1))
    print(string.format("%s profile at %d ms: step %d", name, now(), c.CurRamp))
end
follow(linear, "linear", #ramp)
move(linear, -10000, -10000)
move(expo, 0, 0)
follow(expo, "exponential", #expo:GetRampTable())

-- The host's own table: longs in, their low 16 bits back.
local ok = linear:SetRampTable(kw.array("VT_I4", {1000, 30000, 70000}))
local back = linear:GetRampTable()
print(string.format("SetRampTable: %s, read back %d, %d, %d", tostring(ok), back[1], back[2], back[3]))
print("caught: " .. select(2, pcall(function() linear:SetRampTable(kw.array("VT_I2", {1})) end)))
move(expo, -10000, -10000)
print(string.format("demo: wrote %d pictures into %s", written, out))
