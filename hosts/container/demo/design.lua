-- The design window with a small panel selected, as docs/design.png shows it:
--   kwcontainer design.lua OUT.png
local out = ... or "design.png"
local feed = design.insert("Kestrowidge.SpinEditCtrl.1", {x = 24, y = 24, w = 220, h = 24})
feed.Label = "Feed"
feed.LabelWidth = 40
local ready = design.insert("Kestrowidge.LedCtrl.1", {x = 24, y = 64, w = 16, h = 16})
ready.Color = 1
local alarm = design.insert("Kestrowidge.LedCtrl.1", {x = 64, y = 64, w = 16, h = 16})
alarm.Color = 0
local jog = design.insert("Kestrowidge.PosCtrl.1", {x = 264, y = 20})
design.invoke(feed, "SetVal", 150, 1)
design.setproperty(feed, "LowLimit", "200")
design.select(feed, ready, alarm, jog)
design.snapshot(out)
