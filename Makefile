# The two commands of the README. Both install what is missing first.
.PHONY: check demo deps

check: deps
	scripts/check

demo: deps
	scripts/demo

deps:
	scripts/deps
