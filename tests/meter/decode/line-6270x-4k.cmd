4k --hex --flags IFKX38G,IF6270x --setmin -50
