module karpa.local/karpa

go 1.19
